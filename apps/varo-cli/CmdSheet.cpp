// varo-cli export / import / diff: channel plan files and comparisons.
#include "CmdSheet.h"

#include <cstdio>
#include <fstream>
#include <iostream>
#include <map>
#include <optional>
#include <sstream>

#include "CmdTransfer.h"
#include "ini/IniProfile.h"
#include "models/Models.h"
#include "radio/ChannelCsv.h"
#include "radio/DatFile.h"
#include "radio/Frequency.h"
#include "radio/ImageCompare.h"

namespace varo::cli {

namespace {

using radio::MemoryImage;
using radio::RadioModel;

constexpr char kUsage[] =
    "usage: varo-cli export FILE.dat -o FILE.csv\n"
    "       varo-cli import FILE.csv (--into FILE.dat | --model 16|199) -o OUT.dat [--ini PROGRAM.ini] [--lang en|zh]\n"
    "       varo-cli diff [--lang en|zh] A.dat B.dat\n";

// The words of a command line: its files in order, and the value of each
// option (`flags` names the options that take a value).
struct Words {
  std::vector<std::string> files;
  std::map<std::string, std::string> options;
};

std::optional<Words> Split(const std::vector<std::string>& args,
                           const std::vector<std::string>& flags, const char* command) {
  Words words;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    const bool known = std::find(flags.begin(), flags.end(), a) != flags.end();
    if (known && i + 1 < args.size()) {
      words.options[a] = args[++i];
    } else if (known || (a.size() > 1 && a[0] == '-')) {
      std::fprintf(stderr, "varo-cli %s: %s %s\n%s", command, a.c_str(),
                   known ? "needs a value" : "is no option of this command", kUsage);
      return std::nullopt;
    } else {
      words.files.push_back(a);
    }
  }
  if (auto lang = words.options.find("--lang");
      lang != words.options.end() && lang->second != "en" && lang->second != "zh") {
    std::fprintf(stderr, "varo-cli %s: --lang takes en or zh\n%s", command, kUsage);
    return std::nullopt;
  }
  return words;
}

int UsageError(const char* command, const char* problem) {
  std::fprintf(stderr, "varo-cli %s: %s\n%s", command, problem, kUsage);
  return 2;
}

}  // namespace

int RunExport(const std::vector<std::string>& args) {
  const auto words = Split(args, {"-o"}, "export");
  if (!words) return 2;
  if (words->files.size() != 1 || !words->options.count("-o"))
    return UsageError("export", "give one FILE.dat and -o FILE.csv");
  const auto loaded = LoadRadioFile(words->files[0]);
  if (!loaded) return 1;
  const std::string csv = radio::ExportCsv(*loaded->first, loaded->second);
  const std::string& out = words->options.at("-o");
  if (out == "-") {
    std::cout << csv;
    return std::cout.good() ? 0 : 1;
  }
  std::ofstream file(out, std::ios::binary | std::ios::trunc);
  file << csv;
  file.close();
  if (!file) {
    std::fprintf(stderr, "varo-cli export: cannot write \"%s\"\n", out.c_str());
    return 1;
  }
  return 0;
}

int RunImport(const std::vector<std::string>& args) {
  const auto words = Split(args, {"--into", "--model", "-o", "--ini", "--lang"}, "import");
  if (!words) return 2;
  const auto& o = words->options;
  if (words->files.size() != 1 || !o.count("-o") || o.count("--into") == o.count("--model"))
    return UsageError("import", "give one FILE.csv, either --into FILE.dat or --model, and -o OUT.dat");
  const bool chinese = o.count("--lang") && o.at("--lang") == "zh";

  const RadioModel* model = nullptr;
  MemoryImage image;
  if (o.count("--into")) {
    auto loaded = LoadRadioFile(o.at("--into"));
    if (!loaded) return 1;
    model = loaded->first;
    image = std::move(loaded->second);
  } else {
    model = models::ByName(o.at("--model"));
    if (!model) {
      const std::string problem = "--model takes " + models::Names();
      return UsageError("import", problem.c_str());
    }
    image = model->newImage();
  }

  std::ifstream file(words->files[0], std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  if (!file) {
    std::fprintf(stderr, "varo-cli import: cannot read \"%s\"\n", words->files[0].c_str());
    return 1;
  }

  // The band the document's product choice names, as the programmer checks
  // typed frequencies against it.
  IniProfile ini;
  bool haveIni = false;
  if (!OpenPortsIni(o.count("--ini") ? o.at("--ini") : "", *model, ini, haveIni)) return 1;
  const std::string band =
      haveIni ? radio::LookUpProductChoice(image, model->product, ini).bandText : "";
  radio::BandLimits limits = radio::BandLimitsFromText(band);
  if (band.empty()) {
    std::fprintf(stderr,
                 "varo-cli import: no band is known (no program INI or product choice); "
                 "frequencies are checked against the raster only\n");
    limits = {static_cast<std::int32_t>(radio::kMinFrequencyCount),
              static_cast<std::int32_t>(radio::kMaxFrequencyCount)};
  }

  const radio::CsvImport result = radio::ImportCsvIntoImage(*model, text.str(), limits, chinese, image);
  const std::vector<std::string> lines = radio::FormatCsvImport(result, chinese);
  if (!result.Ok()) {
    for (const std::string& line : lines) std::fprintf(stderr, "%s\n", line.c_str());
    return 1;
  }
  const std::string& out = o.at("-o");
  if (const auto error = radio::SaveDatFile(out, image.data(), image.size());
      error != radio::DatFileError::kNone) {
    std::fprintf(stderr, "varo-cli import: %s\n",
                 radio::DatFileErrorText(error, out, chinese).c_str());
    return 1;
  }
  std::printf("%s\n", lines.front().c_str());
  for (std::size_t i = 1; i < lines.size(); ++i) std::fprintf(stderr, "%s\n", lines[i].c_str());
  return 0;
}

int RunDiff(const std::vector<std::string>& args) {
  const auto words = Split(args, {"--lang"}, "diff");
  if (!words) return 2;
  if (words->files.size() != 2) return UsageError("diff", "give two .dat files");
  const bool chinese = words->options.count("--lang") && words->options.at("--lang") == "zh";
  const auto a = LoadRadioFile(words->files[0]);
  const auto b = LoadRadioFile(words->files[1]);
  if (!a || !b) return 2;
  if (a->first != b->first) {
    std::fprintf(stderr, "varo-cli diff: %s is a %s-channel radio's memory, %s a %s-channel one's\n",
                 words->files[0].c_str(), a->first->name.c_str(), words->files[1].c_str(),
                 b->first->name.c_str());
    return 2;
  }
  const RadioModel& model = *a->first;
  const radio::ImageComparison comparison = radio::CompareImages(model, a->second, b->second, chinese);
  for (const std::string& line : radio::FormatDocumentComparison(comparison, *model.table, chinese,
                                                                 words->files[0], words->files[1]))
    std::printf("%s\n", line.c_str());
  return comparison.Matches() ? 0 : 1;
}

}  // namespace varo::cli
