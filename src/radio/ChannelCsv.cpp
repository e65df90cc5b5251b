#include "radio/ChannelCsv.h"

#include <algorithm>
#include <map>
#include <optional>

#include "radio/CellRules.h"
#include "radio/Frequency.h"
#include "radio/MemoryGrid.h"
#include "radio/TextNumbers.h"

namespace varo::radio {

namespace {

// One record of the file and the line it starts on.
struct Record {
  long line = 0;
  std::vector<std::string> cells;
};

std::string Upper(std::string text) {
  for (char& c : text)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return text;
}

bool Blank(const std::vector<std::string>& cells) {
  return std::all_of(cells.begin(), cells.end(),
                     [](const std::string& c) { return Trim(c).empty(); });
}

// The separator of the file: whichever of comma, semicolon (what a
// spreadsheet writes where the comma is the decimal sign) and TAB the first
// line holds most of, outside quotes.
char Separator(const std::string& text) {
  std::map<char, int> counts{{',', 0}, {';', 0}, {'\t', 0}};
  bool quoted = false;
  for (char c : text) {
    if (c == '"') quoted = !quoted;
    if (!quoted && (c == '\n' || c == '\r')) {
      if (counts[','] + counts[';'] + counts['\t'] > 0) break;
      continue;
    }
    if (!quoted && counts.count(c)) ++counts[c];
  }
  char best = ',';
  for (char c : {';', '\t'})
    if (counts[c] > counts[best]) best = c;
  return best;
}

std::vector<Record> ParseCsv(std::string text) {
  if (text.rfind("\xEF\xBB\xBF", 0) == 0) text.erase(0, 3);
  const char separator = Separator(text);
  std::vector<Record> records;
  Record record{1, {}};
  std::string cell;
  long line = 1;
  bool quoted = false;
  bool any = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (quoted) {
      if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
        cell += '"';
        ++i;
      } else if (c == '"') {
        quoted = false;
      } else {
        if (c == '\n') ++line;
        cell += c;
      }
      continue;
    }
    any = true;
    if (c == '"') {
      quoted = true;
    } else if (c == separator) {
      record.cells.push_back(std::move(cell));
      cell.clear();
    } else if (c == '\n' || c == '\r') {
      record.cells.push_back(std::move(cell));
      cell.clear();
      records.push_back(std::move(record));
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      record = Record{++line, {}};
      any = false;
    } else {
      cell += c;
    }
  }
  if (any || !cell.empty() || !record.cells.empty()) {
    record.cells.push_back(std::move(cell));
    records.push_back(std::move(record));
  }
  return records;
}

std::string Field(const std::string& text) {
  if (text.find_first_of(",;\"\r\n") == std::string::npos && Trim(text) == text) return text;
  std::string quoted = "\"";
  for (char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
  return quoted + "\"";
}

std::string Join(const std::vector<std::string>& cells) {
  std::string line;
  for (std::size_t i = 0; i < cells.size(); ++i) line += (i ? "," : "") + Field(cells[i]);
  return line + "\n";
}

std::string Quote(const std::string& text, bool chinese) {
  return chinese ? "“" + text + "”" : "\"" + text + "\"";
}

int Shift(std::uint8_t mask) {
  int shift = 0;
  while (shift < 8 && !((mask >> shift) & 1)) ++shift;
  return shift;
}

std::size_t Characters(const std::string& text) {
  return static_cast<std::size_t>(std::count_if(
      text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

// "17-40, 52": channel labels with runs of numbers joined.
std::string Runs(const std::vector<std::string>& labels) {
  std::string text;
  for (std::size_t i = 0; i < labels.size();) {
    std::size_t j = i;
    auto number = [&](std::size_t k) { return IsPlainNumber(labels[k]) ? std::stol(labels[k]) : -1; };
    while (j + 1 < labels.size() && number(i) > 0 && number(j + 1) == number(j) + 1) ++j;
    text += (text.empty() ? "" : ", ") + labels[i] + (j > i ? "-" + labels[j] : "");
    i = j + 1;
  }
  return text;
}

// The checking of one file against one radio.
class Importer {
 public:
  Importer(const RadioModel& model, const BandLimits& limits, bool chinese)
      : model_(model), table_(*model.table), limits_(limits), chinese_(chinese) {}

  CsvImport Run(const std::string& text, GridControl& grid, MemoryImage& image);

 private:
  void Problem(long line, const std::string& english, const std::string& chinese) {
    result_.problems.push_back({line, chinese_ ? chinese : english});
  }
  bool ReadHeader(const Record& header);
  void ReadChannel(const Record& record);
  std::optional<std::string> CellText(long line, long col, const std::string& given);
  void ReadOptions(const std::vector<Record>& records);
  void TakeIn(GridControl& grid, MemoryImage& image) const;

  const RadioModel& model_;
  const TableSpec& table_;
  BandLimits limits_;
  bool chinese_;
  CsvImport result_;
  std::vector<long> columns_;  // table column of each file column, -1 for none
  long chCell_ = -1;
  // The rows taken in: the table row and its texts for every column (none
  // where the file has no such column).
  std::vector<std::pair<long, std::vector<std::optional<std::string>>>> rows_;
  std::map<std::string, long> seenChannels_;
  std::vector<std::string> leftOut_;
  std::vector<std::pair<const OptionField*, unsigned>> options_;
};

bool Importer::ReadHeader(const Record& header) {
  std::vector<std::string> unknown;
  std::vector<bool> seen(static_cast<std::size_t>(table_.Cols()), false);
  for (const std::string& given : header.cells) {
    const std::string name = Trim(given);
    long found = table_.ColumnNamed(name);
    if (found >= 0 && seen[static_cast<std::size_t>(found)]) {
      Problem(header.line, "column " + Quote(name, false) + " appears twice.",
              "列" + Quote(name, true) + "出现了两次。");
      found = -1;
    } else if (found >= 0) {
      seen[static_cast<std::size_t>(found)] = true;
    } else if (!name.empty()) {
      unknown.push_back(name);
    }
    if (found == 0) chCell_ = static_cast<long>(columns_.size());
    columns_.push_back(found > 0 ? found : -1);
  }
  const long rx = table_.ColumnOf(ColumnRole::kRx);
  if (chCell_ < 0 || !seen[static_cast<std::size_t>(rx)]) {
    const std::string en = table_.Column(0).header.english + ", " + table_.Column(rx).header.english;
    const std::string zh = table_.Column(0).header.chinese + "、" + table_.Column(rx).header.chinese;
    Problem(header.line, "the first row must name the columns, among them " + en + ".",
            "第一行应为列名，其中须有" + zh + "。");
    return false;
  }
  if (!unknown.empty()) {
    std::string names;
    for (const std::string& n : unknown) names += (names.empty() ? "" : ", ") + n;
    result_.notes.push_back(chinese_ ? "本电台的信道表没有以下列，未导入：" + names + "。"
                                     : "Columns this radio's table does not have were not imported: " +
                                           names + ".");
  }
  return true;
}

std::optional<std::string> Importer::CellText(long line, long col, const std::string& given) {
  const ColumnSpec& column = table_.Column(col);
  const std::string text = Trim(given);
  const std::string en = column.header.english, zh = column.header.chinese;
  if (text.empty()) return std::string();
  switch (column.editor) {
    case EditorKind::kFrequency: {
      if (!IsPlainNumber(text)) {
        Problem(line, en + " " + Quote(text, false) + " is not a frequency in MHz.",
                zh + Quote(text, true) + "不是以 MHz 表示的频率。");
        return std::nullopt;
      }
      const FrequencyCheck check = CheckFrequency(text, limits_);
      const std::string band = FrequencyText(limits_.lower) + " - " + FrequencyText(limits_.upper) + " MHz";
      if (!check.inRange) {
        Problem(line, en + " " + text + " lies outside the band (" + band + ").",
                zh + " " + text + " 超出频段（" + band + "）。");
        return std::nullopt;
      }
      if (!check.onRaster) {
        Problem(line, en + " " + text + " is not on the 5 kHz or 6.25 kHz raster.",
                zh + " " + text + " 不符合 5K/6.25K 步进。");
        return std::nullopt;
      }
      return check.text;
    }
    case EditorKind::kDropDown: {
      const int entry = MatchEntry(column, text, table_.words);
      if (entry < 0) {
        std::string entries;
        if (column.entriesEnglish.size() <= 10)
          for (const std::string& e : column.entriesEnglish) entries += (entries.empty() ? "" : ", ") + e;
        Problem(line,
                en + " " + Quote(text, false) + " is not one of its entries" +
                    (entries.empty() ? "." : " (" + entries + ")."),
                zh + Quote(text, true) + "不是可选值" + (entries.empty() ? "。" : "（" + entries + "）。"));
        return std::nullopt;
      }
      return column.Entries(chinese_)[static_cast<std::size_t>(entry)];
    }
    default: {
      const std::string stored = column.upperCase ? Upper(text) : text;
      if (column.storedLength > 0 && Characters(stored) > static_cast<std::size_t>(column.storedLength)) {
        const std::string n = std::to_string(column.storedLength);
        Problem(line, en + " " + Quote(text, false) + " is longer than " + n + " characters.",
                zh + Quote(text, true) + "超过 " + n + " 个字符。");
        return std::nullopt;
      }
      if (!column.storedCharacters.empty() &&
          stored.find_first_not_of(column.storedCharacters) != std::string::npos) {
        Problem(line,
                en + " " + Quote(text, false) + " holds a character the radio cannot store (only " +
                    column.storedCharacters + ").",
                zh + Quote(text, true) + "含有电台无法存储的字符（只能用 " + column.storedCharacters + "）。");
        return std::nullopt;
      }
      return stored;
    }
  }
}

void Importer::ReadChannel(const Record& record) {
  for (std::size_t i = columns_.size(); i < record.cells.size(); ++i) {
    if (!Trim(record.cells[i]).empty()) {
      Problem(record.line, "a cell right of the last column holds text.",
              "最后一列右侧的单元格中有内容。");
      return;
    }
  }
  const std::string given = chCell_ < static_cast<long>(record.cells.size())
                                ? Trim(record.cells[static_cast<std::size_t>(chCell_)])
                                : std::string();
  const bool priority = AsciiLower(given) == "pr";
  const bool number = IsPlainNumber(given) && given.find_first_not_of("0123456789") == std::string::npos &&
                      given.size() <= 6 && std::stol(given) >= 1;
  if (!priority && !number) {
    Problem(record.line, Quote(given, false) + " is not a channel number.",
            Quote(given, true) + "不是信道号。");
    return;
  }
  const std::string key = priority ? "Pr" : std::to_string(std::stol(given));
  if (auto [at, fresh] = seenChannels_.emplace(key, record.line); !fresh) {
    Problem(record.line,
            "channel " + key + " is listed again (first on line " + std::to_string(at->second) + ").",
            "信道 " + key + " 重复（第 " + std::to_string(at->second) + " 行已有）。");
    return;
  }
  const long channels = table_.channelRows - (table_.priorityRow ? 1 : 0);
  long row = -1;
  if (priority && table_.priorityRow) row = 1;
  if (!priority && std::stol(key) <= channels) row = std::stol(key) + (table_.priorityRow ? 1 : 0);
  if (row < 0) {
    std::vector<std::string> rest = record.cells;
    if (chCell_ < static_cast<long>(rest.size())) rest[static_cast<std::size_t>(chCell_)].clear();
    if (!Blank(rest)) leftOut_.push_back(key);
    return;
  }
  std::vector<std::optional<std::string>> texts(static_cast<std::size_t>(table_.Cols()));
  for (std::size_t i = 0; i < columns_.size(); ++i) {
    const long col = columns_[i];
    if (col < 1) continue;
    const std::string cell = i < record.cells.size() ? record.cells[i] : std::string();
    std::optional<std::string> text = CellText(record.line, col, cell);
    if (!text) return;
    texts[static_cast<std::size_t>(col)] = std::move(text);
  }
  rows_.emplace_back(row, std::move(texts));
}

void Importer::ReadOptions(const std::vector<Record>& records) {
  const Record& header = records.front();
  std::string radio;
  long radioLine = 0;
  std::vector<const Record*> rows;
  for (std::size_t i = 1; i < records.size(); ++i) {
    const Record& r = records[i];
    if (Blank(r.cells)) continue;
    if (r.cells.size() > 2 && !Blank({r.cells.begin() + 2, r.cells.end()})) {
      Problem(r.line, "an option row has more cells than Option and Value.",
              "可选功能行的单元格多于 Option 和 Value 两列。");
      continue;
    }
    if (AsciiLower(Trim(r.cells[0])) == "radio") {
      radio = r.cells.size() > 1 ? Trim(r.cells[1]) : "";
      radioLine = r.line;
    } else {
      rows.push_back(&r);
    }
  }
  if (radioLine == 0) {
    Problem(header.line, "the options section does not name its radio (a row \"Radio," + model_.name + "\").",
            "可选功能部分没有注明电台（应有一行“Radio," + model_.name + "”）。");
    return;
  }
  if (radio != model_.name) {
    result_.notes.push_back(chinese_ ? "可选功能属于电台型号 " + radio + "（本电台为 " + model_.name + "），未导入。"
                                     : "The options are those of radio model " + radio + " (this is model " +
                                           model_.name + ") and were not imported.");
    return;
  }
  std::map<const OptionField*, long> seen;
  for (const Record* r : rows) {
    const std::string name = Trim(r->cells[0]);
    const std::string value = r->cells.size() > 1 ? Trim(r->cells[1]) : "";
    // Both arms lvalues, so that `field` points into the model's list and not
    // into a copy that is gone after the loop.
    static const std::vector<OptionField> kNoOptions;
    const OptionField* field = nullptr;
    for (const OptionField& f : model_.options ? *model_.options : kNoOptions)
      if (AsciiLower(f.name) == AsciiLower(name)) field = &f;
    if (!field) {
      Problem(r->line, Quote(name, false) + " is no option of this radio.",
              Quote(name, true) + "不是本电台的可选功能。");
      continue;
    }
    const std::string max = std::to_string(MaxOptionValue(*field));
    if (value.empty() || value.size() > 5 || value.find_first_not_of("0123456789") != std::string::npos ||
        std::stoul(value) > MaxOptionValue(*field)) {
      Problem(r->line, field->name + " " + Quote(value, false) + " is not a number from 0 to " + max + ".",
              field->name + " " + Quote(value, true) + "不是 0 到 " + max + " 之间的数。");
      continue;
    }
    if (auto [at, fresh] = seen.emplace(field, r->line); !fresh) {
      Problem(r->line,
              "option " + field->name + " is given again (first on line " + std::to_string(at->second) + ").",
              "可选功能 " + field->name + " 重复（第 " + std::to_string(at->second) + " 行已有）。");
      continue;
    }
    options_.emplace_back(field, static_cast<unsigned>(std::stoul(value)));
  }
  result_.options = true;
}

void Importer::TakeIn(GridControl& grid, MemoryImage& image) const {
  const long rx = table_.ColumnOf(ColumnRole::kRx);
  const long tx = table_.ColumnOf(ColumnRole::kTx);
  for (const auto& [row, texts] : rows_) {
    const std::string rxText = texts[static_cast<std::size_t>(rx)].value_or("");
    for (long col = 1; col < table_.Cols(); ++col) {
      std::string text = texts[static_cast<std::size_t>(col)].value_or("");
      if (text.empty() && !rxText.empty()) {
        // An empty cell, or a column the file lacks, on a channel: what a
        // new channel gets, the transmit frequency being the receive one.
        text = col == tx ? rxText : table_.Column(col).newRowDefault.In(chinese_);
      }
      if (grid.TextMatrix(row, col) != text) grid.SetTextMatrix(row, col, text);
    }
  }
  for (const auto& [field, value] : options_) WriteOption(*field, value, image);
}

CsvImport Importer::Run(const std::string& text, GridControl& grid, MemoryImage& image) {
  std::vector<Record> records = ParseCsv(text);
  std::erase_if(records, [](const Record& r) { return Blank(r.cells); });
  const auto options = std::find_if(records.begin(), records.end(), [](const Record& r) {
    return AsciiLower(Trim(r.cells[0])) == "option";
  });
  if (records.begin() == options) {
    Problem(options == records.end() ? 1 : options->line,
            "the file holds no channel table (a first row CH, Rx Frequency, ...).",
            "文件中没有信道表（第一行应为 CH, Rx Frequency, ……）。");
    return result_;
  }
  if (ReadHeader(records.front())) {
    for (auto r = records.begin() + 1; r != options; ++r) ReadChannel(*r);
  }
  if (options != records.end()) ReadOptions({options, records.end()});
  if (!result_.problems.empty()) {
    result_.notes.clear();
    result_.options = false;
    return result_;
  }
  if (!leftOut_.empty()) {
    const std::string channels =
        std::to_string(table_.channelRows - (table_.priorityRow ? 1 : 0));
    result_.notes.push_back(chinese_ ? "信道 " + Runs(leftOut_) + " 超出本电台的信道（" + channels + " 个），未导入。"
                                     : "Channels " + Runs(leftOut_) + " did not fit into this radio (" +
                                           channels + " channels) and were not imported.");
  }
  TakeIn(grid, image);
  result_.channels = static_cast<long>(rows_.size());
  return result_;
}

}  // namespace

unsigned ReadOption(const OptionField& field, const MemoryImage& image) {
  if (field.word) return image[field.offset] + 256u * image[field.offset + 1];
  return static_cast<unsigned>(image[field.offset] & field.mask) >> Shift(field.mask);
}

unsigned MaxOptionValue(const OptionField& field) {
  return field.word ? 0xFFFFu : static_cast<unsigned>(field.mask) >> Shift(field.mask);
}

void WriteOption(const OptionField& field, unsigned value, MemoryImage& image) {
  if (field.word) {
    image[field.offset] = static_cast<std::uint8_t>(value & 0xFF);
    image[field.offset + 1] = static_cast<std::uint8_t>((value >> 8) & 0xFF);
    return;
  }
  const auto bits = static_cast<std::uint8_t>((value << Shift(field.mask)) & field.mask);
  image[field.offset] = static_cast<std::uint8_t>((image[field.offset] & ~field.mask) | bits);
}

std::string ExportCsv(const RadioModel& model, const MemoryImage& image) {
  const TableSpec& table = *model.table;
  MemoryGrid grid(table.Rows(), table.Cols());
  model.imageToTable(image, grid, false);
  std::string text = Join(table.Headers(false));
  for (long row = 1; row < table.Rows(); ++row) {
    std::vector<std::string> cells{Trim(table.RowLabel(row))};
    for (long col = 1; col < table.Cols(); ++col) cells.push_back(grid.TextMatrix(row, col));
    text += Join(cells);
  }
  text += "\n" + Join({"Option", "Value"}) + Join({"Radio", model.name});
  if (model.options) {
    for (const OptionField& field : *model.options)
      text += Join({field.name, std::to_string(ReadOption(field, image))});
  }
  return text;
}

CsvImport ImportCsv(const RadioModel& model, const std::string& text, const BandLimits& limits,
                    bool chinese, GridControl& grid, MemoryImage& image) {
  return Importer(model, limits, chinese).Run(text, grid, image);
}

CsvImport ImportCsvIntoImage(const RadioModel& model, const std::string& text,
                             const BandLimits& limits, bool chinese, MemoryImage& image) {
  MemoryGrid grid(model.table->Rows(), model.table->Cols());
  model.imageToTable(image, grid, false);
  MemoryImage result = image;
  CsvImport outcome = ImportCsv(model, text, limits, chinese, grid, result);
  if (outcome.Ok()) {
    model.tableToImage(grid, result);
    image = std::move(result);
  }
  return outcome;
}

std::vector<std::string> FormatCsvImport(const CsvImport& result, bool chinese) {
  std::vector<std::string> lines;
  if (!result.Ok()) {
    lines.emplace_back(chinese ? "CSV 文件未导入，文档没有任何改动：" : "The CSV file was not imported; nothing was changed:");
    for (const CsvProblem& p : result.problems)
      lines.push_back(chinese ? "第 " + std::to_string(p.line) + " 行：" + p.text
                              : "Line " + std::to_string(p.line) + ": " + p.text);
    return lines;
  }
  const std::string n = std::to_string(result.channels);
  if (chinese) {
    lines.push_back("已导入 " + n + " 个信道" + (result.options ? "和可选功能。" : "。"));
  } else {
    lines.push_back("Imported " + n + (result.channels == 1 ? " channel" : " channels") +
                    (result.options ? " and the options." : "."));
  }
  lines.insert(lines.end(), result.notes.begin(), result.notes.end());
  return lines;
}

}  // namespace varo::radio
