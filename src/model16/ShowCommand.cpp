#include "model16/ShowCommand.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>

#include "ini/IniProfile.h"
#include "model16/ChannelCodec.h"
#include "model16/ChannelTable.h"
#include "model16/DatFile.h"
#include "model16/MemoryGrid.h"
#include "model16/MemoryImage.h"
#include "model16/PrintLayout.h"
#include "model16/ProductBand.h"
#include "platform/ProgramFiles.h"

namespace varo::model16 {

namespace {

const char kUsage[] = "usage: varo-cli show [--lang en|zh] [--ini PROGRAM.ini] [--tsv] FILE.dat\n";

struct ShowOptions {
  std::string file;
  std::string iniPath;
  std::string lang;  // "", "en" or "zh"
  bool tsv = false;
};

// Returns an error text, or "" when the words made sense.
std::string ParseOptions(const std::vector<std::string>& args, ShowOptions& options) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--tsv") {
      options.tsv = true;
    } else if (a == "--lang" || a == "--ini") {
      if (i + 1 >= args.size()) return a + " needs a value";
      const std::string& value = args[++i];
      if (a == "--ini") {
        options.iniPath = value;
      } else if (value == "en" || value == "zh") {
        options.lang = value;
      } else {
        return "--lang takes en or zh, not \"" + value + "\"";
      }
    } else if (a.size() > 1 && a[0] == '-') {
      return "unknown option " + a;
    } else if (options.file.empty()) {
      options.file = a;
    } else {
      return "only one FILE.dat can be shown";
    }
  }
  if (options.file.empty()) return "no FILE.dat given";
  return "";
}

// Terminal columns a UTF-8 text takes: CJK characters take two.
std::size_t DisplayWidth(const std::string& text) {
  std::size_t width = 0;
  for (std::size_t i = 0; i < text.size();) {
    const auto c = static_cast<unsigned char>(text[i]);
    std::size_t length = c < 0x80 ? 1 : c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
    std::uint32_t code = length == 1 ? c : c & (0x3F >> (length - 1));
    for (std::size_t k = 1; k < length && i + k < text.size(); ++k)
      code = (code << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
    width += code >= 0x2E80 ? 2 : 1;
    i += length;
  }
  return width;
}

std::string Pad(const std::string& text, std::size_t width) {
  const std::size_t w = DisplayWidth(text);
  return text + std::string(w < width ? width - w : 0, ' ');
}

// A band edge in 10 Hz units as MHz with five decimals; edges may be negative.
std::string LimitText(std::int32_t limit) {
  const std::int64_t v = limit;
  const std::uint64_t magnitude = static_cast<std::uint64_t>(v < 0 ? -v : v);
  std::string frac = std::to_string(magnitude % 100000);
  return (v < 0 ? "-" : "") + std::to_string(magnitude / 100000) + "." +
         std::string(5 - frac.size(), '0') + frac;
}

void PrintTable(const GridControl& grid, bool tsv, std::ostream& out) {
  std::vector<std::size_t> widths(static_cast<std::size_t>(grid.Cols()), 0);
  for (long r = 0; r < grid.Rows(); ++r)
    for (long c = 0; c < grid.Cols(); ++c)
      widths[static_cast<std::size_t>(c)] =
          std::max(widths[static_cast<std::size_t>(c)], DisplayWidth(grid.TextMatrix(r, c)));
  for (long r = 0; r < grid.Rows(); ++r) {
    std::string line;
    for (long c = 0; c < grid.Cols(); ++c) {
      const std::string cell = grid.TextMatrix(r, c);
      if (tsv) {
        line += (c ? "\t" : "") + cell;
      } else {
        line += (c ? "  " : "") + (c + 1 < grid.Cols() ? Pad(cell, widths[static_cast<std::size_t>(c)]) : cell);
      }
    }
    if (!tsv) line.erase(line.find_last_not_of(' ') + 1);
    out << line << '\n';
  }
}

}  // namespace

int RunShow(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  ShowOptions options;
  if (const std::string problem = ParseOptions(args, options); !problem.empty()) {
    err << "varo-cli show: " << problem << "\n" << kUsage;
    return 2;
  }

  // The program INI, read only: the command never writes it, and a missing
  // one is not created (the programmer would create it empty; every key then
  // has its default, as here).
  std::string iniPath = options.iniPath.empty() ? ProgramDirectory() + "Varo16.ini" : options.iniPath;
  if (iniPath.find('/') == std::string::npos) iniPath = "./" + iniPath;
  IniProfile ini;
  std::error_code ec;
  const bool haveIni =
      std::filesystem::is_regular_file(iniPath, ec) && ini.Open(iniPath, false, true, false);
  if (!haveIni) {
    err << "varo-cli show: cannot read the program INI \"" << iniPath
        << "\"; no product types are known and the product choice is not stored\n";
  }

  const std::string iniLanguage = ini.GetValue("Setup", "Language", "");
  const bool chinese = options.lang.empty() ? iniLanguage == "Chinese" : options.lang == "zh";
  const std::string languageSection =
      options.lang.empty() ? iniLanguage : (chinese ? "Chinese" : "English");

  MemoryImage image = MemoryImage::NewDocument();
  if (DatFileError e = LoadDatFile(options.file, image.bytes.data(), image.kSize);
      e != DatFileError::kNone) {
    err << "varo-cli show: " << DatFileErrorText(e, options.file, chinese) << "\n";
    return 1;
  }

  // As the programmer opens a file: the new-document flag is clear, so the
  // band selection step stores the file's type and band in the registry.
  // Without a program INI there is no "AppName" to name the registry key,
  // and the choice is only looked up.
  MemoryGrid grid(kTableRows, kTableCols);
  SetUpChannelTable(grid, chinese);
  BandLimits limits;
  if (haveIni) {
    limits = FillTableFromImage(image, grid, ini, languageSection, chinese, false, nullptr);
  } else {
    ImageToTable(image, grid, chinese);
    limits = BandLimitsFromText(LookUpProductChoice(image, ini).bandText);
  }

  PrintTable(grid, options.tsv, out);
  if (options.tsv) return 0;

  const ProductChoice choice = LookUpProductChoice(image, ini);
  out << '\n'
      << (chinese ? "类型: " : "Type: ") << choice.typeName << '\n'
      << (chinese ? "频率: " : "Band: ") << choice.bandText << '\n'
      << (chinese ? "频段范围: " : "Band limits: ") << LimitText(limits.lower) << " - "
      << LimitText(limits.upper) << " MHz\n";

  // The option page of the printed report follows here, after the product
  // lines, in the plain output only (--tsv prints the table alone).
  out << '\n' << FormatOptionsReport(image, chinese);
  return 0;
}

}  // namespace varo::model16
