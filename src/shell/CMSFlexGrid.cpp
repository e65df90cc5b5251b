#include "shell/CMSFlexGrid.h"

#include <QAbstractButton>
#include <QItemSelection>
#include <QHeaderView>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyleOptionHeader>

#include <algorithm>

#include "shell/CommandIds.h"
#include "shell/ShellText.h"

namespace varo::shell {
namespace {

constexpr int kBytesRole = Qt::UserRole + 1;

// Grid alignment values: 0-2 left (top, centre, bottom), 3-5 centre, 6-8
// right; anything else lets the text decide.
Qt::Alignment FromGridAlignment(short value) {
  Qt::Alignment h = Qt::AlignLeft;
  if (value >= 3 && value <= 5) h = Qt::AlignHCenter;
  if (value >= 6 && value <= 8) h = Qt::AlignRight;
  Qt::Alignment v = Qt::AlignVCenter;
  if (value >= 0 && value <= 8) {
    if (value % 3 == 0) v = Qt::AlignTop;
    if (value % 3 == 2) v = Qt::AlignBottom;
  }
  return h | v;
}

}  // namespace

CMSFlexGrid::CMSFlexGrid(long rows, long cols, QWidget* parent)
    : QTableWidget(static_cast<int>(rows - 1), static_cast<int>(cols - 1), parent),
      rows_(rows),
      cols_(cols),
      alignment_(static_cast<std::size_t>(cols), -1) {
  setObjectName(QStringLiteral("grid"));
  setProperty("controlId", IDC_GRID);

  QFont gridFont(QStringLiteral("Times New Roman"));
  gridFont.setPointSize(9);
  gridFont.setWeight(QFont::Normal);
  setFont(gridFont);
  horizontalHeader()->setFont(gridFont);
  verticalHeader()->setFont(gridFont);

  setEditTriggers(QAbstractItemView::NoEditTriggers);
  // A click on a row or column header selects it, with Shift and Ctrl
  // extending, as in a spreadsheet.
  setSelectionMode(QAbstractItemView::ExtendedSelection);
  setSelectionBehavior(QAbstractItemView::SelectItems);
  setTabKeyNavigation(false);
  setCornerButtonEnabled(false);
  setWordWrap(false);
  for (QHeaderView* header : {horizontalHeader(), verticalHeader()}) {
    header->setSectionResizeMode(QHeaderView::Fixed);
    header->setSectionsClickable(true);
    header->setHighlightSections(false);
  }
  verticalHeader()->setDefaultSectionSize(24);
  horizontalHeader()->setDefaultSectionSize(80);
  // The fixed column starts as wide as any other column.
  verticalHeader()->setFixedWidth(horizontalHeader()->defaultSectionSize());

  for (int c = 0; c < columnCount(); ++c) setHorizontalHeaderItem(c, new QTableWidgetItem);
  for (int r = 0; r < rowCount(); ++r) {
    setVerticalHeaderItem(r, new QTableWidgetItem);
    for (int c = 0; c < columnCount(); ++c) setItem(r, c, new QTableWidgetItem);
  }

  cornerButton_ = findChild<QAbstractButton*>();
  if (cornerButton_) cornerButton_->installEventFilter(this);

  syncing_ = true;
  setCurrentCell(0, 0);
  syncing_ = false;
}

CMSFlexGrid::~CMSFlexGrid() { events_ = nullptr; }

QTableWidgetItem* CMSFlexGrid::Cell(long row, long col) const {
  if (row <= 0 || col <= 0 || row >= rows_ || col >= cols_) return nullptr;
  return item(static_cast<int>(row - 1), static_cast<int>(col - 1));
}

std::string CMSFlexGrid::TextMatrix(long row, long col) const {
  if (row < 0 || col < 0 || row >= rows_ || col >= cols_) return {};
  if (row == 0 && col == 0) return corner_;
  const QTableWidgetItem* it = row == 0   ? horizontalHeaderItem(static_cast<int>(col - 1))
                               : col == 0 ? verticalHeaderItem(static_cast<int>(row - 1))
                                          : Cell(row, col);
  if (!it) return {};
  const QByteArray bytes = it->data(kBytesRole).toByteArray();
  return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

void CMSFlexGrid::SetTextMatrix(long row, long col, const std::string& text) {
  if (row < 0 || col < 0 || row >= rows_ || col >= cols_) return;
  if (row == 0 && col == 0) {
    corner_ = text;
    if (cornerButton_) cornerButton_->update();
    return;
  }
  QTableWidgetItem* it = row == 0   ? horizontalHeaderItem(static_cast<int>(col - 1))
                         : col == 0 ? verticalHeaderItem(static_cast<int>(row - 1))
                                    : Cell(row, col);
  if (!it) return;
  it->setData(kBytesRole, QByteArray(text.data(), static_cast<qsizetype>(text.size())));
  it->setText(FromBytes(text));
  if (row > 0 && col > 0) it->setTextAlignment(AlignmentOf(col));
}

std::string CMSFlexGrid::Text() const { return TextMatrix(row_, col_); }

void CMSFlexGrid::SetText(const std::string& text) { SetTextMatrix(row_, col_, text); }

void CMSFlexGrid::SetCellMark(long row, long col, const QString& tip) {
  QTableWidgetItem* it = Cell(row, col);
  if (!it || it->toolTip() == tip) return;
  it->setToolTip(tip);
  it->setBackground(tip.isEmpty() ? QBrush() : QBrush(MarkColor()));
}

QString CMSFlexGrid::CellMark(long row, long col) const {
  const QTableWidgetItem* it = Cell(row, col);
  return it ? it->toolTip() : QString();
}

void CMSFlexGrid::MoveTo(long row, long col) {
  if (row == row_ && col == col_) return;
  if (events_) events_->OnLeaveCell();
  row_ = row;
  col_ = col;
  syncing_ = true;
  // The new cell alone is selected, whatever modifier keys are down (Shift
  // held for Shift+Tab would otherwise extend the selection).
  selectionModel()->setCurrentIndex(model()->index(static_cast<int>(row_ - 1), static_cast<int>(col_ - 1)),
                                    QItemSelectionModel::ClearAndSelect);
  syncing_ = false;
  if (events_) events_->OnEnterCell();
}

void CMSFlexGrid::MoveToCell(long row, long col) {
  if (row < 1 || row >= rows_ || col < 1 || col >= cols_) return;
  MoveTo(row, col);
}

void CMSFlexGrid::PlaceCurrent(long row, long col) {
  if (row < 1 || row >= rows_ || col < 1 || col >= cols_) return;
  row_ = row;
  col_ = col;
  syncing_ = true;
  selectionModel()->setCurrentIndex(model()->index(static_cast<int>(row - 1), static_cast<int>(col - 1)),
                                    QItemSelectionModel::NoUpdate);
  syncing_ = false;
}

void CMSFlexGrid::SetRow(long row) {
  if (row < 1 || row >= rows_) return;
  MoveTo(row, col_);
}

void CMSFlexGrid::SetCol(long col) {
  if (col < 1 || col >= cols_) return;
  MoveTo(row_, col);
}

void CMSFlexGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
  const long row = current.row() + 1;
  const long col = current.column() + 1;
  if (syncing_ || !current.isValid() || (row == row_ && col == col_)) {
    QTableWidget::currentChanged(current, previous);
    return;
  }
  // The user moved: the old cell is left while Row/Col still name it.
  if (events_) events_->OnLeaveCell();
  row_ = row;
  col_ = col;
  QTableWidget::currentChanged(current, previous);
  if (events_) events_->OnEnterCell();
}

void CMSFlexGrid::mousePressEvent(QMouseEvent* event) {
  rightPress_ = event->button() == Qt::RightButton;
  QTableWidget::mousePressEvent(event);
  const QModelIndex at = indexAt(event->position().toPoint());
  if (at.isValid() && at.row() + 1 == row_ && at.column() + 1 == col_ && events_)
    events_->OnEnterCell();
  // A plain click inside a selection of several cells narrows it to the
  // clicked cell only when the button is released; its editor opens then.
  enterOnRelease_ = at.isValid() && !rightPress_ && EditorUnwanted();
  rightPress_ = false;
}

void CMSFlexGrid::mouseReleaseEvent(QMouseEvent* event) {
  QTableWidget::mouseReleaseEvent(event);
  const QModelIndex at = indexAt(event->position().toPoint());
  if (enterOnRelease_ && at.isValid() && at.row() + 1 == row_ && at.column() + 1 == col_ && events_)
    events_->OnEnterCell();
  enterOnRelease_ = false;
}

radio::CellBlock CMSFlexGrid::SelectedBlock() const {
  const QModelIndexList selected = selectionModel()->selectedIndexes();
  if (selected.isEmpty()) return {row_, col_, row_, col_};
  radio::CellBlock block{rows_, cols_, 0, 0};
  for (const QModelIndex& index : selected) {
    block.top = std::min<long>(block.top, index.row() + 1);
    block.bottom = std::max<long>(block.bottom, index.row() + 1);
    block.left = std::min<long>(block.left, index.column() + 1);
    block.right = std::max<long>(block.right, index.column() + 1);
  }
  return block;
}

std::vector<long> CMSFlexGrid::SelectedRows() const {
  std::vector<long> rows;
  for (const QModelIndex& index : selectionModel()->selectedIndexes()) rows.push_back(index.row() + 1);
  if (rows.empty()) rows.push_back(row_);
  std::sort(rows.begin(), rows.end());
  rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
  return rows;
}

bool CMSFlexGrid::EditorUnwanted() const {
  if (rightPress_) return true;
  const QModelIndex current = model()->index(static_cast<int>(row_ - 1), static_cast<int>(col_ - 1));
  const QItemSelectionModel* selection = selectionModel();
  return selection->isSelected(current) && selection->selectedIndexes().size() > 1;
}

void CMSFlexGrid::SelectBlock(const radio::CellBlock& block) {
  const long top = std::clamp(block.top, 1L, rows_ - 1), bottom = std::clamp(block.bottom, 1L, rows_ - 1);
  const long left = std::clamp(block.left, 1L, cols_ - 1), right = std::clamp(block.right, 1L, cols_ - 1);
  const QItemSelection selection(model()->index(static_cast<int>(top - 1), static_cast<int>(left - 1)),
                                 model()->index(static_cast<int>(bottom - 1), static_cast<int>(right - 1)));
  selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
}

void CMSFlexGrid::SelectRows(const std::vector<long>& rows) {
  QItemSelection selection;
  for (long row : rows) {
    if (row < 1 || row >= rows_) continue;
    selection.select(model()->index(static_cast<int>(row - 1), 0),
                     model()->index(static_cast<int>(row - 1), static_cast<int>(cols_ - 2)));
  }
  selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
}

void CMSFlexGrid::scrollContentsBy(int dx, int dy) {
  QTableWidget::scrollContentsBy(dx, dy);
  if (events_) events_->OnScroll();
}

QRect CMSFlexGrid::CellRect(long row, long col) const {
  if (row <= 0 || col <= 0 || row >= rows_ || col >= cols_) return {};
  return visualRect(model()->index(static_cast<int>(row - 1), static_cast<int>(col - 1)));
}

int CMSFlexGrid::TwipsToPixelsX(long twips) const {
  return static_cast<int>(twips * logicalDpiX() / 1440);
}

long CMSFlexGrid::PixelsToTwipsX(int px) const {
  return static_cast<long>(px) * 1440 / logicalDpiX();
}

long CMSFlexGrid::PixelsToTwipsY(int px) const {
  return static_cast<long>(px) * 1440 / logicalDpiY();
}

long CMSFlexGrid::CellLeft() const {
  return PixelsToTwipsX(CellRect(row_, col_).left() + kEditorInset);
}

long CMSFlexGrid::CellTop() const {
  return PixelsToTwipsY(CellRect(row_, col_).top() + kEditorInset);
}

long CMSFlexGrid::CellWidth() const { return PixelsToTwipsX(CellRect(row_, col_).width()); }

long CMSFlexGrid::CellHeight() const { return PixelsToTwipsY(CellRect(row_, col_).height()); }

long CMSFlexGrid::ColWidth(long col) const {
  if (col < 0 || col >= cols_) return 0;
  if (col == 0) return PixelsToTwipsX(verticalHeader()->width());
  return PixelsToTwipsX(columnWidth(static_cast<int>(col - 1)));
}

void CMSFlexGrid::SetColWidth(long col, long twips) {
  if (col < 0 || col >= cols_) return;
  const int px = TwipsToPixelsX(twips);
  if (col == 0) {
    verticalHeader()->setFixedWidth(px);
  } else {
    setColumnWidth(static_cast<int>(col - 1), px);
  }
  updateGeometry();
}

Qt::Alignment CMSFlexGrid::AlignmentOf(long col) const {
  return FromGridAlignment(alignment_[static_cast<std::size_t>(col)]);
}

void CMSFlexGrid::SetColAlignment(long col, short alignment) {
  if (col < 0 || col >= cols_) return;
  alignment_[static_cast<std::size_t>(col)] = alignment;
  const Qt::Alignment a = AlignmentOf(col);
  if (col == 0) {
    verticalHeader()->setDefaultAlignment(a);
    return;
  }
  horizontalHeaderItem(static_cast<int>(col - 1))->setTextAlignment(a);
  for (long row = 1; row < rows_; ++row) Cell(row, col)->setTextAlignment(a);
}

void CMSFlexGrid::SetForeColorFixed(std::uint32_t rgb) {
  fixedColor_ = QColor((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
  for (int c = 0; c < columnCount(); ++c) horizontalHeaderItem(c)->setForeground(fixedColor_);
  for (int r = 0; r < rowCount(); ++r) verticalHeaderItem(r)->setForeground(fixedColor_);
  if (cornerButton_) cornerButton_->update();
}

QSize CMSFlexGrid::sizeHint() const {
  int w = verticalHeader()->width() + 2 * frameWidth();
  for (int c = 0; c < columnCount(); ++c) w += columnWidth(c);
  int h = horizontalHeader()->sizeHint().height() + 2 * frameWidth();
  for (int r = 0; r < rowCount(); ++r) h += rowHeight(r);
  return {w, h};
}

bool CMSFlexGrid::eventFilter(QObject* watched, QEvent* event) {
  if (watched == cornerButton_ && event->type() == QEvent::Paint) {
    // The corner is cell (0, 0): a fixed cell with its text.
    QPainter p(cornerButton_);
    QStyleOptionHeader opt;
    opt.initFrom(cornerButton_);
    opt.rect = cornerButton_->rect();
    opt.text = FromBytes(corner_);
    opt.textAlignment = alignment_[0] >= 0 ? AlignmentOf(0) : Qt::AlignCenter;
    opt.position = QStyleOptionHeader::OnlyOneSection;
    opt.state = QStyle::State_Enabled | QStyle::State_Raised;
    opt.palette.setColor(QPalette::ButtonText, fixedColor_);
    p.setFont(horizontalHeader()->font());
    style()->drawControl(QStyle::CE_Header, &opt, &p, cornerButton_);
    return true;
  }
  return QTableWidget::eventFilter(watched, event);
}

}  // namespace varo::shell
