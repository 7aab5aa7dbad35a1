// Support for the tests of the two table dialogs: typing a table into a
// grid with key clicks, and checking the numbers of the result lines
// against reference values.
#pragma once

#include "tests/reference/table_cases.h"

#include <QString>
#include <QStringList>

class TStringGrid;

// A table written as its rows separated by " / ", the counts of a row
// separated by blanks: "10 20 / 30 40".  "_" stands for a cell left empty.
QList<QStringList> TableRows(const QString &cells);

// Types the table into the grid as a user does: the focus goes to the
// grid and its first cell, each count is typed with key clicks, Tab moves
// to the next cell.  The editor of the last cell stays open.
void TypeTable(TStringGrid *grid, const QString &cells);

// The result lines that echo the table: two blanks, then every count
// right-justified in 7 characters (an empty cell as 0; a count of 7 or
// more digits after one blank).
QStringList EchoLines(const QString &cells);

// Checks that the field of `width` characters at `from` in `line` begins
// with a blank and shows `expected` to within one unit of its last digit
// (a NaN expects a field of blanks).  An empty result means it does; else what is wrong.
QString CheckField(const QString &line, int from, int width, double expected);

// Checks the grid's frame as the user sees it: the cells shown, 41 x 21
// pixels each with their grid lines, fill the inside of the frame exactly
// (2 pixels in from the left and top edges, no strip of empty cell area
// beside them), the last column and the last row close with a drawn line,
// and the sunken frame shows darker than the dialog on the left and at the
// top.  An empty result means it does; else what is wrong.
QString CheckGridFrame(TStringGrid *grid);
