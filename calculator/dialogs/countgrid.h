// The counts of the two table dialogs: the key filter of their grids and
// the reading of a grid's cells into a table of counts with its margins.
#pragma once

#include "stats/tables.h"

#include <QAbstractItemView>
#include <QChar>
#include <QString>

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

// The count of a cell: 0 for an empty text, else the text as a decimal
// integer.  A text that is not an unsigned digit string (a sign, a blank,
// a letter) or that exceeds 2,147,483,647 raises EConvertError.
int CellCount(const QString &text);

// Reads the top-left `columns` x `rows` cells of the grid (1 to 10 each)
// row by row into a zeroed table (CountTable, stats/tables.h) and appends each row to the results
// document as it is read: two blanks, then every count right-justified in
// 7 characters; a count of 7 or more digits is written whole after one
// blank, so that no two counts run together.  A cell that does not convert
// raises EConvertError after the rows before it were appended.
CountTable ReadCounts(const TStringGrid &grid, int columns, int rows);
