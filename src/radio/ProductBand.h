#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "radio/MemoryImage.h"

namespace varo {
class IniProfile;
}

namespace varo::radio {

// Product type and frequency band. The program INI lists the types
// ("Setup"/"Type1".."Type19") and each type's bands ("Field1".."Field19",
// band texts joined by '|'). The chosen type and band are kept as 0-based
// indexes in two bytes of the image (where, the radio model says) and in the
// registry values "Type" and "Field" under "Software\" + "Setup"/"AppName".

constexpr int kMaxTypes = 19;

// Where a radio's image keeps the product type and band indexes.
struct ProductOffsets {
  std::size_t type = 0;
  std::size_t band = 0;
};

// Lower and upper edge of the chosen band in 10 Hz units.
struct BandLimits {
  std::int32_t lower = 0;
  std::int32_t upper = 0;
  bool operator==(const BandLimits&) const = default;
};

// Receives the main window's new caption.
using TitleSink = std::function<void(const std::string&)>;

// "130 - 160MHz" -> {13000000, 16000000}: the whole number of MHz at the start
// and the whole number after the first '-' (the start again when there is no
// '-'), each times 100000. Results beyond the 32-bit range are clamped.
BandLimits BandLimitsFromText(const std::string& bandText);

// The band list split at '|': every piece before a '|', then the rest, even
// when empty ("" gives one empty entry).
std::vector<std::string> SplitBandList(const std::string& bandList);

// The type names "Setup"/"Type1".."Type19", up to the first missing or empty one.
std::vector<std::string> ReadTypeList(const IniProfile& ini);

// appName + "  [ Type:" + type + "  Fre:" + band + " ]"
// (Chinese labels "  [ 类型:" and "  频率:").
std::string BuildWindowTitle(const std::string& appName, const std::string& typeName,
                             const std::string& bandText, bool chinese);

// "Software\" + "Setup"/"AppName": the registry key of the product choice.
std::string ProductRegistryKey(const IniProfile& ini);

// The type name and band text that the image's index bytes choose: INI keys
// "Type%d"/"Field%d" of index + 1 (0xFF asks for "Type256", which no INI
// holds), the band at the index or, past the end of the list, the last one.
struct ProductChoice {
  std::string typeName;
  std::string bandText;
};
ProductChoice LookUpProductChoice(const MemoryImage& image, const ProductOffsets& offsets,
                                  const IniProfile& ini);

// The band selection step, run after every filling of the table from the image.
// With `newDocument` set, the registry's "Type" and "Field" (0 when missing)
// go into the image's index bytes; otherwise those bytes are written to the
// registry. Then the type name and band text are looked up (a band index past
// the end of the list takes the last band), the window title built from the
// language section's "AppName" is handed to `setTitle`, and the band limits
// are returned.
BandLimits RunBandSelectionStep(MemoryImage& image, const ProductOffsets& offsets,
                                const IniProfile& ini,
                                const std::string& languageSection, bool chinese,
                                bool newDocument, const TitleSink& setTitle);

// The behaviour of the Product Information dialog, without its window: a Qt
// dialog shows Types()/Bands() in its two lists, forwards the user's
// selections and calls Ok() or simply closes on Cancel (which changes nothing).
// Selections are list positions, -1 for none.
class ProductInfoRules {
 public:
  ProductInfoRules(const IniProfile& ini, std::string languageSection, bool chinese,
                   ProductOffsets offsets);

  // Opening: fills the type list from the INI, then selects the registry's
  // type, refills the bands for it and selects the registry's band. A stored
  // position without an entry leaves that list without a selection.
  void Open(const MemoryImage& image);

  // Type selection change: selects `typePosition` (-1 or past the end: none),
  // refills the band list from that type's "Field%d" and selects band 0.
  void SelectType(int typePosition);
  // Selects band `bandPosition` (-1 or past the end: none).
  void SelectBand(int bandPosition);

  const std::vector<std::string>& Types() const { return types_; }
  const std::vector<std::string>& Bands() const { return bands_; }
  int TypeSelection() const { return typeSel_; }
  int BandSelection() const { return bandSel_; }

  struct Result {
    std::string title;
    BandLimits limits;
  };
  // OK: stores the two positions into the image's index bytes (none gives 0xFF),
  // builds the title from the shown texts, computes the band limits and
  // writes the positions to the registry ("Type"/"Field", none as -1).
  Result Ok(MemoryImage& image) const;

 private:
  void FillBands(int typePosition);

  const IniProfile& ini_;
  std::string languageSection_;
  bool chinese_;
  ProductOffsets offsets_;
  std::vector<std::string> types_;
  std::vector<std::string> bands_;
  int typeSel_ = -1;
  int bandSel_ = -1;
};

}  // namespace varo::radio
