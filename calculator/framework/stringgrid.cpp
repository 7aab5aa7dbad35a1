#include "calculator/framework/stringgrid.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>
#include <QStyledItemDelegate>
#include <qdrawutil.h>

#include <algorithm>

namespace {

// Cells are 40 x 20 pixels; Qt counts the grid line to the right of and
// below a cell into its section.
constexpr int CellWidth = 40;
constexpr int CellHeight = 20;
constexpr int GridLine = 1;
// The sunken border on the left and at the top.
constexpr int Border = 2;

// Lets the grid see the keys typed into its cell editors.
class CellDelegate : public QStyledItemDelegate {
public:
    explicit CellDelegate(TStringGrid *grid) : QStyledItemDelegate(grid), grid_(grid) {}

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override
    {
        QWidget *editor = QStyledItemDelegate::createEditor(parent, option, index);
        if (editor)
            editor->installEventFilter(grid_);
        return editor;
    }

private:
    TStringGrid *grid_;
};

}  // namespace

TStringGrid::TStringGrid(QWidget *parent) : QTableWidget(parent)
{
    horizontalHeader()->hide();
    verticalHeader()->hide();
    for (QHeaderView *header : {horizontalHeader(), verticalHeader()}) {
        header->setMinimumSectionSize(1);
        header->setSectionResizeMode(QHeaderView::Fixed);
    }
    horizontalHeader()->setDefaultSectionSize(CellWidth + GridLine);
    verticalHeader()->setDefaultSectionSize(CellHeight + GridLine);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFrameStyle(QFrame::NoFrame);
    setShowGrid(true);
    setTabKeyNavigation(true);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                    | QAbstractItemView::AnyKeyPressed);
    setItemDelegate(new CellDelegate(this));
}

void TStringGrid::SetColCount(int count)
{
    if (count > columnCount())
        setColumnCount(count);
    for (int j = 0; j < columnCount(); ++j)
        setColumnHidden(j, j >= count);
    colCount_ = count;
    if (currentColumn() >= count)
        setCurrentCell(currentRow(), count - 1);
    FitFrame();
}

void TStringGrid::SetRowCount(int count)
{
    if (count > rowCount())
        setRowCount(count);
    for (int i = 0; i < rowCount(); ++i)
        setRowHidden(i, i >= count);
    rowCount_ = count;
    if (currentRow() >= count)
        setCurrentCell(count - 1, currentColumn());
    FitFrame();
}

void TStringGrid::FitFrame()
{
    const int right = std::max(0, width() - Border - colCount_ * (CellWidth + GridLine));
    const int bottom = std::max(0, height() - Border - rowCount_ * (CellHeight + GridLine));
    setViewportMargins(Border, Border, right, bottom);
}

void TStringGrid::resizeEvent(QResizeEvent *event)
{
    FitFrame();
    QTableWidget::resizeEvent(event);
}

bool TStringGrid::event(QEvent *event)
{
    const bool handled = QTableWidget::event(event);
    if (event->type() == QEvent::Paint) {
        // A sunken border: dark outside and darker inside on the left and
        // at the top, light on the right and at the bottom.  Where fewer
        // than two pixels are left beside the cells, the viewport covers
        // the inner line; the cells' own grid lines close the last column
        // and row.
        QPainter painter(this);
        qDrawWinPanel(&painter, rect(), palette(), true);
    }
    return handled;
}

QString TStringGrid::Cell(int col, int row) const
{
    const QTableWidgetItem *cell = item(row, col);
    return cell ? cell->text() : QString();
}

void TStringGrid::CommitEdit()
{
    if (state() != QAbstractItemView::EditingState)
        return;
    if (QWidget *editor = indexWidget(currentIndex()))
        commitData(editor);
}

void TStringGrid::keyPressEvent(QKeyEvent *event)
{
    // Enter belongs to the dialog's default button, also while a cell is
    // being edited (the view would keep it then).
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->ignore();
        return;
    }
    if (KeyDropped(event)) {
        event->accept();
        return;
    }
    QTableWidget::keyPressEvent(event);
}

bool TStringGrid::eventFilter(QObject *watched, QEvent *event)
{
    // The keys of the cell editors.
    if (event->type() == QEvent::KeyPress && KeyDropped(static_cast<QKeyEvent *>(event)))
        return true;
    return QTableWidget::eventFilter(watched, event);
}

bool TStringGrid::KeyDropped(QKeyEvent *event)
{
    QChar key = TypedCharacter(event);
    if (key.isNull() || !OnKeyPress)
        return false;
    OnKeyPress(key);
    return key.isNull();
}

QChar TypedCharacter(const QKeyEvent *event)
{
    const QString text = event->text();
    if (text.isEmpty() || (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
        return {};
    const QChar c = text[0];
    if (c == QChar(8) || (c.unicode() >= 32 && c.unicode() != 127))
        return c;
    return {};
}
