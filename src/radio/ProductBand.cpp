#include "radio/ProductBand.h"

#include <algorithm>
#include <limits>

#include "ini/IniProfile.h"
#include "ini/Registry.h"
#include "radio/TextNumbers.h"

namespace varo::radio {

namespace {

constexpr std::int64_t kTenHertzPerMHz = 100000;
const char kSetup[] = "Setup";

std::int32_t MHzToLimit(std::int64_t mhz) {
  // Clamp before multiplying: no overflow for any text.
  constexpr std::int64_t kMaxMHz = std::numeric_limits<std::int32_t>::max() / kTenHertzPerMHz + 1;
  mhz = std::clamp(mhz, -kMaxMHz, kMaxMHz);
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(
      mhz * kTenHertzPerMHz, std::numeric_limits<std::int32_t>::min(),
      std::numeric_limits<std::int32_t>::max()));
}

std::string TypeKey(long n) { return "Type" + std::to_string(n); }
std::string FieldKey(long n) { return "Field" + std::to_string(n); }

// A stored registry value as a list position; -1 is stored as 0xFFFFFFFF.
int Position(std::uint32_t value) {
  return value > static_cast<std::uint32_t>(std::numeric_limits<int>::max()) ? -1 : static_cast<int>(value);
}

std::uint8_t PositionByte(int position) {
  return position < 0 ? 0xFF : static_cast<std::uint8_t>(position);
}

std::uint32_t PositionDword(int position) {
  return position < 0 ? 0xFFFFFFFFu : static_cast<std::uint32_t>(position);
}

}  // namespace

BandLimits BandLimitsFromText(const std::string& bandText) {
  const std::size_t dash = bandText.find('-');
  const std::string upperText = dash == std::string::npos ? bandText : bandText.substr(dash + 1);
  return {MHzToLimit(LeadingInteger(bandText)), MHzToLimit(LeadingInteger(upperText))};
}

std::vector<std::string> SplitBandList(const std::string& bandList) {
  std::vector<std::string> pieces;
  std::size_t start = 0;
  for (std::size_t bar; (bar = bandList.find('|', start)) != std::string::npos; start = bar + 1)
    pieces.push_back(bandList.substr(start, bar - start));
  pieces.push_back(bandList.substr(start));
  return pieces;
}

std::vector<std::string> ReadTypeList(const IniProfile& ini) {
  std::vector<std::string> types;
  for (int n = 1; n <= kMaxTypes; ++n) {
    std::string name = ini.GetValue(kSetup, TypeKey(n), "");
    if (name.empty()) break;
    types.push_back(std::move(name));
  }
  return types;
}

std::string BuildWindowTitle(const std::string& appName, const std::string& typeName,
                             const std::string& bandText, bool chinese) {
  return appName + (chinese ? "  [ 类型:" : "  [ Type:") + typeName +
         (chinese ? "  频率:" : "  Fre:") + bandText + " ]";
}

std::string ProductRegistryKey(const IniProfile& ini) {
  return "Software\\" + ini.GetValue(kSetup, "AppName", "");
}

ProductChoice LookUpProductChoice(const MemoryImage& image, const ProductOffsets& offsets,
                                  const IniProfile& ini) {
  const long n = image[offsets.type] + 1;
  const std::vector<std::string> bands = SplitBandList(ini.GetValue(kSetup, FieldKey(n), ""));
  const std::size_t band = image[offsets.band];
  return {ini.GetValue(kSetup, TypeKey(n), ""), band < bands.size() ? bands[band] : bands.back()};
}

BandLimits RunBandSelectionStep(MemoryImage& image, const ProductOffsets& offsets,
                                const IniProfile& ini,
                                const std::string& languageSection, bool chinese,
                                bool newDocument, const TitleSink& setTitle) {
  // A new document takes the last choice from the registry; a document that
  // came from a file or a radio makes its own choice the stored one.
  Registry registry(ProductRegistryKey(ini));
  if (newDocument) {
    image[offsets.type] = static_cast<std::uint8_t>(registry.QueryDword("Type").value_or(0));
    image[offsets.band] = static_cast<std::uint8_t>(registry.QueryDword("Field").value_or(0));
  } else {
    registry.SetDword("Type", image[offsets.type]);
    registry.SetDword("Field", image[offsets.band]);
  }

  const ProductChoice choice = LookUpProductChoice(image, offsets, ini);
  if (setTitle)
    setTitle(BuildWindowTitle(ini.GetValue(languageSection, "AppName", ""), choice.typeName,
                              choice.bandText, chinese));
  return BandLimitsFromText(choice.bandText);
}

ProductInfoRules::ProductInfoRules(const IniProfile& ini, std::string languageSection,
                                   bool chinese, ProductOffsets offsets)
    : ini_(ini), languageSection_(std::move(languageSection)), chinese_(chinese), offsets_(offsets) {}

void ProductInfoRules::FillBands(int typePosition) {
  // With no type selected the position is -1 and "Field0" is asked for; no
  // INI holds it, so the band list is one empty entry.
  bands_ = SplitBandList(ini_.GetValue(kSetup, FieldKey(typePosition + 1), ""));
  bandSel_ = -1;
}

void ProductInfoRules::Open(const MemoryImage& image) {
  // The image's type is selected first, but the registry's choice, selected
  // right after it, is what the dialog shows; the registry follows every
  // opened file and every confirmed choice anyway.
  types_ = ReadTypeList(ini_);
  SelectType(image[offsets_.type]);
  const Registry registry(ProductRegistryKey(ini_));
  SelectType(Position(registry.QueryDword("Type").value_or(0)));
  SelectBand(Position(registry.QueryDword("Field").value_or(0)));
}

void ProductInfoRules::SelectType(int typePosition) {
  typeSel_ = typePosition >= 0 && static_cast<std::size_t>(typePosition) < types_.size()
                 ? typePosition
                 : -1;
  FillBands(typeSel_);
  SelectBand(0);
}

void ProductInfoRules::SelectBand(int bandPosition) {
  bandSel_ = bandPosition >= 0 && static_cast<std::size_t>(bandPosition) < bands_.size()
                 ? bandPosition
                 : -1;
}

ProductInfoRules::Result ProductInfoRules::Ok(MemoryImage& image) const {
  image[offsets_.type] = PositionByte(typeSel_);
  image[offsets_.band] = PositionByte(bandSel_);
  const std::string typeText = typeSel_ >= 0 ? types_[static_cast<std::size_t>(typeSel_)] : "";
  const std::string bandText = bandSel_ >= 0 ? bands_[static_cast<std::size_t>(bandSel_)] : "";

  Result result;
  result.title = BuildWindowTitle(ini_.GetValue(languageSection_, "AppName", ""), typeText,
                                  bandText, chinese_);
  result.limits = BandLimitsFromText(bandText);

  Registry registry(ProductRegistryKey(ini_));
  registry.SetDword("Type", PositionDword(typeSel_));
  registry.SetDword("Field", PositionDword(bandSel_));
  return result;
}

}  // namespace varo::radio
