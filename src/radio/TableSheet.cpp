#include "radio/TableSheet.h"

#include <algorithm>
#include <numeric>

#include "radio/CellRules.h"
#include "radio/TextNumbers.h"

namespace varo::radio {

namespace {

bool AnyText(const std::vector<std::string>& cells) {
  return std::any_of(cells.begin(), cells.end(), [](const std::string& c) { return !c.empty(); });
}

std::vector<std::string> RowTexts(const GridControl& grid, long row) {
  std::vector<std::string> texts;
  for (long col = 1; col < grid.Cols(); ++col) texts.push_back(grid.TextMatrix(row, col));
  return texts;
}

void PutRowTexts(GridControl& grid, long row, const std::vector<std::string>& texts) {
  for (long col = 1; col < grid.Cols(); ++col) {
    const std::string& text = texts[static_cast<std::size_t>(col - 1)];
    if (grid.TextMatrix(row, col) != text) grid.SetTextMatrix(row, col, text);
  }
}

// One pasted cell by the typing rules; the refusal, if any.
std::optional<Refusal> PasteCell(const Sheet& sheet, const CellRules& rules, long row, long col,
                                 const std::string& given) {
  const ColumnSpec& column = sheet.table.Column(col);
  std::string text = Trim(given);
  if (column.editor == EditorKind::kDropDown) {
    // A blank cell leaves the setting alone; an empty row takes none anyway.
    if (text.empty()) return std::nullopt;
    const int entry = MatchEntry(column, text, sheet.table.words);
    if (entry < 0) return Refusal::kNotInList;
    text = column.Entries(sheet.chinese)[static_cast<std::size_t>(entry)];
  } else if (column.editor == EditorKind::kText) {
    text = TypedText(column, given);
  }
  switch (rules.Commit(row, col, text, sheet.limits, sheet.chinese, false)) {
    case CommitOutcome::kRangeMessage:
      return Refusal::kOutOfRange;
    case CommitOutcome::kStepMessage:
      return Refusal::kOffRaster;
    default:
      return std::nullopt;
  }
}

std::string Quoted(const std::string& text) {
  std::string quoted = "\"";
  for (char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
  return quoted + "\"";
}

}  // namespace

TextBlock ParseTabText(const std::string& text) {
  TextBlock block;
  std::vector<std::string> row;
  std::string cell;
  bool cellStarted = false;
  std::size_t i = 0;
  auto endCell = [&] {
    row.push_back(cell);
    cell.clear();
    cellStarted = false;
  };
  while (i < text.size()) {
    const char c = text[i];
    if (!cellStarted && cell.empty() && c == '"') {
      // A quoted cell: up to the quote that is not doubled.
      for (++i; i < text.size(); ++i) {
        if (text[i] != '"') {
          cell += text[i];
        } else if (i + 1 < text.size() && text[i + 1] == '"') {
          cell += '"';
          ++i;
        } else {
          ++i;
          break;
        }
      }
      cellStarted = true;
      continue;
    }
    if (c == '\t') {
      endCell();
    } else if (c == '\n' || c == '\r') {
      endCell();
      block.push_back(std::move(row));
      row.clear();
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      cell += c;
      cellStarted = true;
    }
    ++i;
  }
  if (cellStarted || !cell.empty() || !row.empty()) {
    endCell();
    block.push_back(std::move(row));
  }
  return block;
}

std::string FormatTabText(const TextBlock& block) {
  std::string text;
  for (const std::vector<std::string>& row : block) {
    for (std::size_t c = 0; c < row.size(); ++c) {
      const std::string& cell = row[c];
      const bool quote = cell.find_first_of("\t\r\n") != std::string::npos ||
                         (!cell.empty() && cell[0] == '"');
      text += (c ? "\t" : "") + (quote ? Quoted(cell) : cell);
    }
    text += '\n';
  }
  return text;
}

TextBlock CopyCells(const GridControl& grid, const CellBlock& block) {
  TextBlock texts;
  for (long row = block.top; row <= block.bottom; ++row) {
    std::vector<std::string>& cells = texts.emplace_back();
    for (long col = block.left; col <= block.right; ++col) cells.push_back(grid.TextMatrix(row, col));
  }
  return texts;
}

PasteReport PasteColumns(const Sheet& sheet, long top, const std::vector<long>& columns,
                         const TextBlock& block) {
  PasteReport report;
  const CellRules rules(sheet.grid, sheet.table);
  std::vector<bool> outside(columns.size(), false);
  // A row's cells go in in the table's column order, frequencies first, so
  // that its settings find the channel they belong to.
  std::vector<std::size_t> order(columns.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  std::stable_sort(order.begin(), order.end(),
                   [&](std::size_t a, std::size_t b) { return columns[a] < columns[b]; });
  for (std::size_t i = 0; i < block.size(); ++i) {
    const std::vector<std::string>& cells = block[i];
    const long row = top + static_cast<long>(i);
    if (row >= sheet.table.Rows()) {
      if (AnyText(cells)) ++report.rowsLeftOut;
      continue;
    }
    const std::vector<std::string> before = RowTexts(sheet.grid, row);
    for (std::size_t j : order) {
      if (j >= cells.size()) continue;
      const long col = columns[j];
      if (col >= sheet.table.Cols()) {
        if (!cells[j].empty()) outside[j] = true;
        continue;
      }
      if (col < 1) continue;
      CellBlock& at = report.pasted ? *report.pasted : report.pasted.emplace(CellBlock{row, col, row, col});
      at.bottom = std::max(at.bottom, row);
      at.left = std::min(at.left, col);
      at.right = std::max(at.right, col);
      if (const auto why = PasteCell(sheet, rules, row, col, cells[j])) {
        PutRowTexts(sheet.grid, row, before);
        report.refused.push_back({row, col, Trim(cells[j]), *why});
        break;
      }
    }
  }
  report.colsLeftOut = std::count(outside.begin(), outside.end(), true);
  return report;
}

PasteReport PasteCells(const Sheet& sheet, long top, long left, const TextBlock& block) {
  std::size_t width = 0;
  for (const auto& row : block) width = std::max(width, row.size());
  std::vector<long> columns(width);
  std::iota(columns.begin(), columns.end(), left);
  return PasteColumns(sheet, top, columns, block);
}

std::optional<HeaderMatch> MatchHeader(const TableSpec& table,
                                       const std::vector<std::string>& header) {
  HeaderMatch match;
  bool named = false;
  for (const std::string& given : header) {
    const std::string name = Trim(given);
    const long found = table.ColumnNamed(name);
    if (found < 0 && !name.empty()) {
      match.unknown.push_back(name);
    } else if (!name.empty()) {
      named = true;
    }
    match.columns.push_back(found > 0 ? found : -1);
  }
  if (!named) return std::nullopt;
  return match;
}

PasteReport PasteText(const Sheet& sheet, long top, long left, const std::string& text,
                      const std::vector<std::string>& sourceHeader) {
  TextBlock block = ParseTabText(text);
  if (block.empty()) return {};
  std::optional<HeaderMatch> match;
  if (auto inText = MatchHeader(sheet.table, block.front())) {
    match = std::move(inText);
    block.erase(block.begin());
  } else if (!sourceHeader.empty() && block.front().size() > 1) {
    match = MatchHeader(sheet.table, sourceHeader);
    if (!match) match = HeaderMatch{std::vector<long>(sourceHeader.size(), -1), sourceHeader};
  }
  if (!match) return PasteCells(sheet, top, left, block);
  PasteReport report = PasteColumns(sheet, top, match->columns, block);
  report.columnsLeftOut = match->unknown;
  return report;
}

void ClearCells(const Sheet& sheet, const CellBlock& block) {
  const CellRules rules(sheet.grid, sheet.table);
  for (long row = block.top; row <= block.bottom; ++row) {
    if (block.left <= rules.RxCol() && rules.RxCol() <= block.right) {
      rules.ClearRow(row);
      continue;
    }
    for (long col = block.left; col <= block.right; ++col) {
      const ColumnSpec& column = sheet.table.Column(col);
      const std::string text =
          column.editor == EditorKind::kDropDown ? column.newRowDefault.In(sheet.chinese) : "";
      rules.Commit(row, col, text, sheet.limits, sheet.chinese, false);
    }
  }
}

PasteReport FillDown(const Sheet& sheet, const CellBlock& block) {
  const long source = block.RowCount() > 1 ? block.top : block.top - 1;
  if (source < 1) return {};
  const std::vector<std::string> cells =
      CopyCells(sheet.grid, {source, block.left, source, block.right}).front();
  const long first = source + 1;
  return PasteCells(sheet, first, block.left,
                    TextBlock(static_cast<std::size_t>(block.bottom - first + 1), cells));
}

std::vector<std::string> FormatPasteReport(const PasteReport& report, const TableSpec& table,
                                           bool chinese) {
  std::vector<std::string> lines;
  if (report.Complete()) return lines;
  lines.emplace_back(chinese ? "部分内容未能粘贴：" : "Not everything could be pasted:");
  for (const RefusedRow& r : report.refused) {
    const std::string channel = Trim(table.RowLabel(r.row));
    const std::string column = table.Column(r.col).header.In(chinese);
    std::string why;
    switch (r.why) {
      case Refusal::kOutOfRange:
        why = chinese ? column + " " + r.text + " 超出频段。" : column + " " + r.text + " lies outside the band.";
        break;
      case Refusal::kOffRaster:
        why = chinese ? column + " " + r.text + " 不符合 5K/6.25K 步进。"
                      : column + " " + r.text + " is not on the 5 kHz or 6.25 kHz raster.";
        break;
      case Refusal::kNotInList:
        why = chinese ? "“" + r.text + "”不是" + column + "的可选项。"
                      : "\"" + r.text + "\" is not one of the entries of " + column + ".";
        break;
    }
    lines.push_back(chinese ? "信道 " + channel + " 未改变：" + why
                            : "Channel " + channel + " was left as it was: " + why);
  }
  if (report.rowsLeftOut > 0) {
    const std::string n = std::to_string(report.rowsLeftOut);
    lines.push_back(chinese ? "有 " + n + " 行超出最后一个信道，未粘贴。"
                            : n + (report.rowsLeftOut == 1 ? " row" : " rows") +
                                  " did not fit below the last channel.");
  }
  if (report.colsLeftOut > 0) {
    const std::string n = std::to_string(report.colsLeftOut);
    lines.push_back(chinese ? "有 " + n + " 列超出最后一列，未粘贴。"
                            : n + (report.colsLeftOut == 1 ? " column" : " columns") +
                                  " did not fit right of the last column.");
  }
  if (!report.columnsLeftOut.empty()) {
    std::string names;
    for (const std::string& name : report.columnsLeftOut) names += (names.empty() ? "" : ", ") + name;
    lines.push_back(chinese ? "本表没有以下列，已略过：" + names
                            : "This table has no column " + names + "; those cells were left out.");
  }
  return lines;
}

long FirstMovableRow(const TableSpec& table) { return table.priorityRow ? 2 : 1; }

bool RowInUse(const GridControl& grid, long row) { return AnyText(RowTexts(grid, row)); }

void ClearRows(const Sheet& sheet, const std::vector<long>& rows) {
  const CellRules rules(sheet.grid, sheet.table);
  for (long row : rows) rules.ClearRow(row);
}

namespace {

// The movable rows among `rows`, sorted, each once.
std::vector<long> Movable(const TableSpec& table, std::vector<long> rows) {
  std::erase_if(rows, [&](long r) { return r < FirstMovableRow(table) || r >= table.Rows(); });
  std::sort(rows.begin(), rows.end());
  rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
  return rows;
}

std::vector<long> Identity(const TableSpec& table) {
  std::vector<long> order(static_cast<std::size_t>(table.Rows()));
  std::iota(order.begin(), order.end(), 0L);
  return order;
}

}  // namespace

void ReorderRows(const RadioModel& model, MemoryImage& image, GridControl& grid,
                 const std::vector<long>& order) {
  std::vector<std::vector<std::string>> rows;
  for (long row = 0; row < grid.Rows(); ++row) rows.push_back(RowTexts(grid, row));
  for (long row = 1; row < grid.Rows() && row < static_cast<long>(order.size()); ++row)
    PutRowTexts(grid, row, rows[static_cast<std::size_t>(order[static_cast<std::size_t>(row)])]);
  if (model.moveChannels) model.moveChannels(image, order);
}

RowChange InsertRows(const RadioModel& model, MemoryImage& image, GridControl& grid,
                     const std::vector<long>& rows) {
  const TableSpec& table = *model.table;
  const std::vector<long> movable = Movable(table, rows);
  if (movable.empty()) return RowChange::kNothing;
  const long at = movable.front();
  const long count = std::min(static_cast<long>(movable.size()), table.Rows() - at);
  for (long row = table.Rows() - count; row < table.Rows(); ++row)
    if (RowInUse(grid, row)) return RowChange::kNoRoom;
  // The empty rows at the end come round to `at`; the channels between move down.
  std::vector<long> order = Identity(table);
  for (long row = at; row < table.Rows(); ++row) {
    order[static_cast<std::size_t>(row)] =
        row < at + count ? table.Rows() - count + (row - at) : row - count;
  }
  ReorderRows(model, image, grid, order);
  return RowChange::kDone;
}

RowChange DeleteRows(const RadioModel& model, MemoryImage& image, GridControl& grid,
                     const std::vector<long>& rows) {
  const TableSpec& table = *model.table;
  const std::vector<long> gone = Movable(table, rows);
  if (gone.empty()) return RowChange::kNothing;
  std::vector<long> order = Identity(table);
  std::vector<long> kept;
  for (long row = FirstMovableRow(table); row < table.Rows(); ++row)
    if (!std::binary_search(gone.begin(), gone.end(), row)) kept.push_back(row);
  kept.insert(kept.end(), gone.begin(), gone.end());
  std::copy(kept.begin(), kept.end(), order.begin() + FirstMovableRow(table));
  ReorderRows(model, image, grid, order);
  const CellRules rules(grid, table);
  for (long row = table.Rows() - static_cast<long>(gone.size()); row < table.Rows(); ++row)
    rules.ClearRow(row);
  return RowChange::kDone;
}

RowChange MoveRows(const RadioModel& model, MemoryImage& image, GridControl& grid,
                   std::vector<long>& rows, int direction) {
  const TableSpec& table = *model.table;
  const std::vector<long> moving = Movable(table, rows);
  std::vector<long> order = Identity(table);
  std::vector<bool> selected(order.size(), false);
  for (long row : moving) selected[static_cast<std::size_t>(row)] = true;
  const long first = FirstMovableRow(table);
  const long last = table.Rows() - 1;
  bool moved = false;
  // Each selected channel changes places with the unselected one beside it,
  // taken in the direction of the move so that a block moves as one.
  for (long i = 0; i < last - first; ++i) {
    const long row = direction < 0 ? first + 1 + i : last - 1 - i;
    const auto at = static_cast<std::size_t>(row);
    const auto next = static_cast<std::size_t>(row + (direction < 0 ? -1 : 1));
    if (selected[at] && !selected[next]) {
      std::swap(order[at], order[next]);
      selected[at] = false;
      selected[next] = true;
      moved = true;
    }
  }
  if (!moved) return RowChange::kNothing;
  ReorderRows(model, image, grid, order);
  rows.clear();
  for (long row = first; row <= last; ++row)
    if (selected[static_cast<std::size_t>(row)]) rows.push_back(row);
  return RowChange::kDone;
}

}  // namespace varo::radio
