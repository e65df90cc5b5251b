#include "FuzzHarness.h"

#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string_view>

#include "ini/IniProfile.h"
#include "lang/LanguageModule.h"
#include "models/Models.h"
#include "radio/DatFile.h"
#include "radio/Frequency.h"
#include "radio/MemoryGrid.h"
#include "radio/TableEditor.h"
#include "support/EditorFakes.h"

namespace varo::fuzz {
namespace {

using radio::ColumnRole;
using radio::EditorKind;
using radio::GridControl;
using radio::MemoryGrid;
using radio::MemoryImage;
using radio::RadioModel;
using radio::TableSpec;

// One folder per process for the files the targets write, removed at exit.
class ScratchFolder {
 public:
  ScratchFolder() {
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/varo-fuzz-XXXXXX";
    if (::mkdtemp(pattern.data())) path_ = pattern;
  }
  ~ScratchFolder() {
    std::error_code ignored;
    if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
  }
  std::string File(const char* name) const { return path_ + "/" + name; }
  bool Ok() const { return !path_.empty(); }

 private:
  std::string path_;
};

const ScratchFolder& Scratch() {
  static const ScratchFolder folder;
  return folder;
}

bool WriteBytes(const std::string& path, std::string_view bytes) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && ok;
}

std::string Quoted(std::string_view text) {
  std::string out = "\"";
  for (char c : text) {
    const auto u = static_cast<unsigned char>(c);
    if (u < 0x20 || u >= 0x7F || c == '"' || c == '\\') {
      char hex[5];
      std::snprintf(hex, sizeof hex, "\\x%02X", u);
      out += hex;
    } else {
      out += c;
    }
  }
  return out + "\"";
}

// ---- INI --------------------------------------------------------------------

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

bool Trimmed(std::string_view s) { return s.empty() || (!IsBlank(s.front()) && !IsBlank(s.back())); }

bool Carried(const std::string& section, const std::string& key, const std::string& value) {
  if (section.find_first_of("\n\r") != std::string::npos) return false;
  if (key.empty() || !Trimmed(key) || key.find_first_of("=\n") != std::string::npos) return false;
  if (std::string_view(";/\\*[").find(key.front()) != std::string_view::npos) return false;
  if (!Trimmed(value) || value.find('\n') != std::string::npos) return false;
  for (const char* cut : {"//", "\t;", "/*"}) {
    if (value.find(cut) != std::string::npos) return false;
  }
  return true;
}

struct Assignment {
  std::string section, key, value;
};

std::vector<Assignment> Assignments(std::string_view ops) {
  std::vector<Assignment> out;
  while (!ops.empty()) {
    std::size_t end = ops.find('\0');
    std::string_view op = ops.substr(0, end);
    ops = end == std::string_view::npos ? std::string_view() : ops.substr(end + 1);
    std::size_t a = op.find('\x01');
    std::size_t b = a == std::string_view::npos ? a : op.find('\x01', a + 1);
    if (b == std::string_view::npos) continue;
    Assignment set{std::string(op.substr(0, a)), std::string(op.substr(a + 1, b - a - 1)),
                   std::string(op.substr(b + 1))};
    if (Carried(set.section, set.key, set.value)) out.push_back(std::move(set));
  }
  return out;
}

}  // namespace

std::string IniRoundTrip(const std::uint8_t* data, std::size_t size) {
  if (!Scratch().Ok() || size == 0) return {};
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const bool ignoreCase = data[size - 1] & 1;
  const std::size_t split = input.find('\0');
  const std::string_view file = input.substr(0, split);
  const std::vector<Assignment> sets =
      Assignments(split == std::string_view::npos ? std::string_view() : input.substr(split + 1));

  const std::string path = Scratch().File("fuzz.ini");
  if (!WriteBytes(path, file)) return "cannot write the INI file";
  std::vector<std::string> expected;
  std::string saved;
  {
    IniProfile ini;
    if (!ini.Open(path, false, ignoreCase, false)) return "a readable file did not open";
    for (const Assignment& set : sets) {
      ini.SetValue(set.section, set.key, set.value);
      const std::string got = ini.GetValue(set.section, set.key, "\x02");
      if (got != set.value) {
        return "set " + Quoted(set.section) + "/" + Quoted(set.key) + " = " + Quoted(set.value) +
               " reads " + Quoted(got);
      }
    }
    for (const Assignment& set : sets) expected.push_back(ini.GetValue(set.section, set.key, "\x02"));
    saved = ini.Text();
    ini.Save(false);
    if (ini.SaveFailed()) return "the save failed";
  }
  IniProfile reopened;
  if (!reopened.Open(path, false, ignoreCase, false)) return "the saved file did not open";
  if (!sets.empty() && reopened.GetValue(sets.back().section, sets.back().key, "\x02") !=
                           sets.back().value) {
    return "the last value set did not come back: " + Quoted(sets.back().value);
  }
  for (std::size_t i = 0; i < sets.size(); ++i) {
    const std::string got = reopened.GetValue(sets[i].section, sets[i].key, "\x02");
    if (got != expected[i]) {
      return "after reopening " + Quoted(sets[i].section) + "/" + Quoted(sets[i].key) + " reads " +
             Quoted(got) + ", before the save " + Quoted(expected[i]);
    }
  }
  if (reopened.Text() != saved) return "the reopened file's text differs from the text saved";
  return {};
}

std::string LanguageModuleText(const std::uint8_t* data, std::size_t size) {
  LanguageModule module;
  module.LoadText(std::string_view(reinterpret_cast<const char*>(data), size));
  for (int id : module.StringIds()) {
    if (!module.HasString(id)) return "string " + std::to_string(id) + " listed but missing";
    (void)SplitCommandPrompt(module.String(id));
  }
  for (int menu : {128, 129, 130}) {
    for (const auto& popup : module.Menu(menu)) (void)popup.items.size();
  }
  return {};
}

namespace {

// ---- .dat and cells ---------------------------------------------------------

const RadioModel& ModelOf(std::uint8_t selector) {
  const auto& all = models::All();
  return *all[(selector & 0x7Fu) % all.size()];
}

std::vector<std::string> Cells(const GridControl& grid, const TableSpec& table) {
  std::vector<std::string> cells;
  for (long r = 1; r < table.Rows(); ++r)
    for (long c = 1; c < table.Cols(); ++c) cells.push_back(grid.TextMatrix(r, c));
  return cells;
}

// The first cell whose text differs, as "row r col c: "a" then "b"".
std::string FirstDifference(const std::vector<std::string>& a, const std::vector<std::string>& b,
                            const TableSpec& table) {
  const auto cols = static_cast<std::size_t>(table.Cols() - 1);
  for (std::size_t i = 0; i < a.size() && i < b.size(); ++i) {
    if (a[i] != b[i]) {
      return "row " + std::to_string(i / cols + 1) + " col " + std::to_string(i % cols + 1) +
             ": " + Quoted(a[i]) + " then " + Quoted(b[i]);
    }
  }
  return a.size() == b.size() ? std::string() : "tables of different sizes";
}

// Image to table in a fresh grid.
std::vector<std::string> Decode(const RadioModel& model, const MemoryImage& image, bool chinese) {
  MemoryGrid grid(model.table->Rows(), model.table->Cols());
  model.imageToTable(image, grid, chinese);
  return Cells(grid, *model.table);
}

MemoryGrid GridOf(const RadioModel& model, const std::vector<std::string>& cells) {
  const TableSpec& table = *model.table;
  MemoryGrid grid(table.Rows(), table.Cols());
  std::size_t i = 0;
  for (long r = 1; r < table.Rows(); ++r)
    for (long c = 1; c < table.Cols(); ++c) grid.SetTextMatrix(r, c, cells[i++]);
  return grid;
}

// Saving `cells` into `image` (as the document does before a save) and
// opening the result again gives `shown`.
std::vector<std::string> SaveAndReopen(const RadioModel& model,
                                       const std::vector<std::string>& cells, MemoryImage& image,
                                       bool chinese) {
  model.tableToImage(GridOf(model, cells), image);
  return Decode(model, image, chinese);
}

// A table that was opened from `image` (`shown`) is a fixed point: saving it
// changes no byte of `image`, and opening that shows the same texts.
std::string Stable(const RadioModel& model, const std::vector<std::string>& shown,
                   const MemoryImage& image, bool chinese) {
  MemoryImage again = image;
  const std::vector<std::string> reopened = SaveAndReopen(model, shown, again, chinese);
  for (std::size_t i = 0; i < image.size(); ++i) {
    if (again[i] != image[i]) {
      return "model " + model.name + ": a save of the table just opened changed offset " +
             std::to_string(i) + " from " + std::to_string(image[i]) + " to " +
             std::to_string(again[i]);
    }
  }
  if (reopened != shown) {
    return "model " + model.name + ": the table changed in a save without edits, " +
           FirstDifference(shown, reopened, *model.table);
  }
  return {};
}

}  // namespace

std::string DatRoundTrip(const std::uint8_t* data, std::size_t size) {
  if (!Scratch().Ok() || size == 0) return {};
  const RadioModel& model = ModelOf(data[0]);
  const bool chinese = data[0] & 0x80;
  const std::string_view file(reinterpret_cast<const char*>(data + 1), size - 1);
  const std::string path = Scratch().File("fuzz.dat");
  if (!WriteBytes(path, file)) return "cannot write the .dat file";

  const MemoryImage before = model.newImage();
  MemoryImage image = before;
  const radio::DatFileError loaded = radio::LoadDatFile(path, image.bytes.data(), model.imageSize);
  if (file.size() < model.imageSize) {
    if (loaded != radio::DatFileError::kTooShort) return "a short file did not fail as too short";
    if (image != before) return "a short file changed the document";
    return {};
  }
  if (loaded != radio::DatFileError::kNone) return "a whole file did not load";
  if (std::memcmp(image.bytes.data(), file.data(), model.imageSize) != 0)
    return "the document is not the file's first bytes";

  // Open, save: the table shows what it showed, and from then on nothing moves.
  const std::vector<std::string> opened = Decode(model, image, chinese);
  const std::vector<std::string> reopened = SaveAndReopen(model, opened, image, chinese);
  if (reopened != opened) {
    return "model " + model.name + ", open-save changed " +
           FirstDifference(opened, reopened, *model.table);
  }
  if (std::string broke = Stable(model, reopened, image, chinese); !broke.empty()) return broke;

  if (radio::SaveDatFile(path, image.bytes.data(), model.imageSize) != radio::DatFileError::kNone)
    return "the save failed";
  MemoryImage back(model.imageSize, 0x00);
  if (radio::LoadDatFile(path, back.bytes.data(), model.imageSize) != radio::DatFileError::kNone ||
      back != image)
    return "the saved file does not load as the image saved";
  return {};
}

std::string CellText(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return {};
  const RadioModel& model = ModelOf(data[0]);
  const bool chinese = data[0] & 0x80;
  const TableSpec& table = *model.table;
  // Byte 1 is the column (1 is the first after the labels), modulo the columns.
  const auto cols = static_cast<unsigned>(table.Cols() - 1);
  const long col = 1 + static_cast<long>((data[1] + cols - 1u) % cols);
  const std::string text(reinterpret_cast<const char*>(data + 2), size - 2);
  const long row = table.Rows() - 1;  // the last channel

  MemoryGrid grid(table.Rows(), table.Cols());
  test::FakeColumnEditors fakes(table);
  test::FakeHost host;
  test::RecordingMessages messages;
  radio::TableEditor editor(grid, table, fakes.editors, host, messages, chinese);
  editor.SetUp();
  // The widest band a product can have.
  editor.SetBandLimits({1, INT32_MAX});
  // The grid's events do not reach the editor: only Commit() commits.
  auto open = [&](long c) {
    grid.SetRow(row);
    grid.SetCol(c);
    editor.EnterCell();
  };
  const long rx = table.ColumnOf(ColumnRole::kRx);
  open(rx);
  fakes.boxes[static_cast<std::size_t>(rx)].text = "145.00000";
  if (editor.Commit() != radio::CommitOutcome::kCommitted) return "a new channel was refused";

  const ColumnRole role = table.Column(col).role;
  const EditorKind kind = table.Column(table.EditorColumn(col)).editor;
  if (kind == EditorKind::kDropDown) {
    grid.SetTextMatrix(row, col, text);
  } else {
    open(col);
    fakes.boxes[static_cast<std::size_t>(table.EditorColumn(col))].text = text;
    const radio::CommitOutcome outcome = editor.Commit();
    if (kind == EditorKind::kFrequency && outcome == radio::CommitOutcome::kCommitted &&
        !text.empty()) {
      const radio::FrequencyCheck check = radio::CheckFrequency(text, editor.bandLimits());
      if (check.units < static_cast<std::int64_t>(radio::kMinFrequencyCount) ||
          check.units > static_cast<std::int64_t>(radio::kMaxFrequencyCount))
        return "a frequency that cannot be stored was taken: " + Quoted(text);
      if (grid.TextMatrix(row, col) != check.text)
        return "the cell shows " + Quoted(grid.TextMatrix(row, col)) + " for " + Quoted(text);
      if (radio::CheckFrequency(check.text, editor.bandLimits()).units != check.units)
        return "the shown text " + Quoted(check.text) + " reads as another value";
    }
  }
  if (!messages.shown.empty() && role != ColumnRole::kRx && role != ColumnRole::kTx)
    return "a message for a column without checks";

  // The saved table is a file like any other: the first save may turn a text
  // into its stored form ("D400I", a code the list lacks, reads back "D000I";
  // a channel without a transmit frequency reads back without settings), an
  // open-save of that file shows the same texts, and from then on nothing
  // moves.
  const std::vector<std::string> typed = Cells(grid, table);
  MemoryImage image = model.newImage();
  const std::vector<std::string> shown = SaveAndReopen(model, typed, image, chinese);
  const std::vector<std::string> again = SaveAndReopen(model, shown, image, chinese);
  if (again != shown) {
    return "model " + model.name + ", open-save of the saved table changed " +
           FirstDifference(shown, again, table);
  }
  if (std::string broke = Stable(model, again, image, chinese); !broke.empty()) return broke;
  if (kind == EditorKind::kFrequency) {
    const auto at = static_cast<std::size_t>((row - 1) * (table.Cols() - 1) + (col - 1));
    if (shown[at] != typed[at])
      return "model " + model.name + ": typed " + Quoted(typed[at]) + " reads back " + Quoted(shown[at]);
  }
  return {};
}

const std::vector<Target>& Targets() {
  static const std::vector<Target> targets = {
      {"ini", IniRoundTrip},
      {"lang", LanguageModuleText},
      {"dat", DatRoundTrip},
      {"cells", CellText},
  };
  return targets;
}

}  // namespace varo::fuzz
