// The counts of the two table dialogs: the key filter of their grids and
// the reading of a grid's cells into a table of counts with its margins.
#pragma once

#include <QAbstractItemView>
#include <QChar>
#include <QString>

#include <array>
#include <functional>

class QWidget;
class TStringGrid;

// The grid of a table dialog: 10 columns and 10 rows in the frame's
// place, the first cell current, the selection as given; every typed
// character goes through the key filter first.
TStringGrid *CountGrid(QWidget *parent, QAbstractItemView::SelectionMode selection,
                       std::function<void(QChar &Key)> keyFilter);

// Key filter of the table dialogs: turns every character but the digits
// (and Backspace, when it is allowed) into QChar(), which drops the key.
void KeepDigits(QChar &Key, bool allowBackspace);

// The counts of a table of at most 10 columns and 10 rows with their
// margins, indexed [column][row]: entry [j][i] with j, i >= 1 is the count
// of column j and row i, [j][0] the total of column j, [0][i] the total of
// row i and [0][0] the grand total.  Totals are 64-bit: a table may hold up
// to 100 counts of up to 2,147,483,647 each.
using CountTable = std::array<std::array<long long, 11>, 11>;

// The count of a cell: 0 for an empty text, else the text as a decimal
// integer.  A text that is not an unsigned digit string (a sign, a blank,
// a letter) or that exceeds 2,147,483,647 raises EConvertError.
int CellCount(const QString &text);

// Reads the top-left `columns` x `rows` cells of the grid (1 to 10 each)
// row by row into a zeroed table and appends each row to the results
// document as it is read: two blanks, then every count right-justified in
// 7 characters; a count of 7 or more digits is written whole after one
// blank, so that no two counts run together.  A cell that does not convert
// raises EConvertError after the rows before it were appended.
CountTable ReadCounts(const TStringGrid &grid, int columns, int rows);
