#include "radio/ShowCommand.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>

#include "ini/IniProfile.h"
#include "platform/ProgramFiles.h"
#include "radio/DatFile.h"
#include "radio/DisplayText.h"
#include "radio/Frequency.h"
#include "radio/MemoryGrid.h"

namespace varo::radio {

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

std::string Pad(const std::string& text, std::size_t width) {
  const std::size_t w = DisplayWidth(text);
  return text + std::string(w < width ? width - w : 0, ' ');
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

// The radio whose memory size is the size of the file at `path`; null (with
// a message on `err`) when there is none or the file cannot be read.
const RadioModel* ModelOfFile(const std::string& path, const std::vector<const RadioModel*>& models,
                              std::ostream& err) {
  std::error_code ec;
  const auto size = std::filesystem::file_size(path, ec);
  if (ec) {
    err << "varo-cli show: " << DatFileErrorText(DatFileError::kCannotOpen, path, false) << "\n";
    return nullptr;
  }
  for (const RadioModel* model : models) {
    if (model->imageSize == size) return model;
  }
  // A file of no radio's size is taken for the smallest radio's memory that
  // it falls short of, and then refused as too short: a 5000-byte file is a
  // cut 8192-byte file, not a 1024-byte one with more after it. A file longer
  // than any radio's is read as the largest radio's memory, the rest ignored,
  // as the programmer reads it.
  const RadioModel* shortOf = nullptr;
  const RadioModel* largest = nullptr;
  for (const RadioModel* model : models) {
    if (size < model->imageSize && (!shortOf || model->imageSize < shortOf->imageSize)) {
      shortOf = model;
    }
    if (!largest || model->imageSize > largest->imageSize) largest = model;
  }
  return shortOf ? shortOf : largest;
}

}  // namespace

int RunShow(const std::vector<std::string>& args, const std::vector<const RadioModel*>& models,
            std::ostream& out, std::ostream& err) {
  ShowOptions options;
  if (const std::string problem = ParseOptions(args, options); !problem.empty()) {
    err << "varo-cli show: " << problem << "\n" << kUsage;
    return 2;
  }
  const RadioModel* found = ModelOfFile(options.file, models, err);
  if (!found) return 1;
  const RadioModel& model = *found;

  // The program INI, read only: the command never writes it, and a missing
  // one is not created (the programmer would create it empty; every key then
  // has its default, as here).
  std::string iniPath =
      options.iniPath.empty() ? LocateSettingsFile(model.iniName).read : options.iniPath;
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

  MemoryImage image = model.newImage();
  if (DatFileError e = LoadDatFile(options.file, image.data(), image.size());
      e != DatFileError::kNone) {
    err << "varo-cli show: " << DatFileErrorText(e, options.file, chinese) << "\n";
    return 1;
  }

  // As the programmer opens a file: the new-document flag is clear, so the
  // band selection step stores the file's type and band in the registry.
  // Without a program INI there is no "AppName" to name the registry key,
  // and the choice is only looked up.
  MemoryGrid grid(model.table->Rows(), model.table->Cols());
  SetUpChannelTable(grid, *model.table, chinese);
  BandLimits limits;
  if (haveIni) {
    limits = FillTableFromImage(model, image, grid, ini, languageSection, chinese, false, nullptr);
  } else {
    model.imageToTable(image, grid, chinese);
    limits = BandLimitsFromText(LookUpProductChoice(image, model.product, ini).bandText);
  }

  PrintTable(grid, options.tsv, out);
  if (options.tsv) return 0;

  const ProductChoice choice = LookUpProductChoice(image, model.product, ini);
  out << '\n'
      << (chinese ? "类型: " : "Type: ") << choice.typeName << '\n'
      << (chinese ? "频率: " : "Band: ") << choice.bandText << '\n'
      << (chinese ? "频段范围: " : "Band limits: ") << FrequencyText(limits.lower) << " - "
      << FrequencyText(limits.upper) << " MHz\n";

  // The option page of the printed report follows here, after the product
  // lines, in the plain output only (--tsv prints the table alone).
  out << '\n' << FormatOptionsReport(model.report->options(image, chinese), chinese);
  return 0;
}

}  // namespace varo::radio
