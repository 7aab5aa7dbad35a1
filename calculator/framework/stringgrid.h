// TStringGrid: the grid in which the two table dialogs take their counts.
//
// It is a table of text cells without headers or scroll bars, edited in
// place: typing over a cell opens its editor with the typed character, Tab
// moves from cell to cell, Enter is left to the dialog (its default
// button).  Every cell is 40 x 20 pixels with a grid line on its
// right and below it.  The frame is a sunken border two pixels wide on the
// left and at the top; on the right and at the bottom it takes whatever
// the grid's size leaves beside the cells, so that the last column and
// the last row close with their own grid lines and no strip of empty
// cell area shows (the table dialogs give a grid of c columns and r rows
// 41c + 4 or 41c + 3 by 21r + 3 pixels).
//
// Cells cut off by a smaller column or row count keep their text and show
// it again when the grid grows, so that passing through a small size
// (typing 10 passes through 1) loses nothing.
//
// OnKeyPress sees every character typed into the grid or into a cell
// editor, Backspace included, before it takes effect; setting the
// character to QChar() drops the key.  Other keys (Tab, Enter, Esc,
// Delete, the arrows, Ctrl shortcuts such as paste) are not shown to it.
#pragma once

#include <QChar>
#include <QString>
#include <QTableWidget>

#include <functional>

class QKeyEvent;

class TStringGrid : public QTableWidget {
    Q_OBJECT

public:
    explicit TStringGrid(QWidget *parent = nullptr);

    std::function<void(QChar &Key)> OnKeyPress;

    // The columns and rows shown, from the left and from the top.
    int ColCount() const { return colCount_; }
    int RowCount() const { return rowCount_; }
    void SetColCount(int count);
    void SetRowCount(int count);

    // The text of the cell in column `col` and row `row`, both counted
    // from 0; empty for a cell never typed into.
    QString Cell(int col, int row) const;

    // Stores the text of an open cell editor in its cell, so that what the
    // user typed last is read too.
    void CommitEdit();

protected:
    bool event(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Sets the frame's widths so that the cells shown fill the viewport.
    void FitFrame();
    // Shows a typed character to OnKeyPress; true when it was dropped.
    bool KeyDropped(QKeyEvent *event);

    int colCount_ = 0;
    int rowCount_ = 0;
};

// The character that a key event types, or QChar() for a key that types
// none (Tab, Enter, Esc, Delete, arrows, Ctrl shortcuts).  Backspace counts
// as the character 8.
QChar TypedCharacter(const QKeyEvent *event);
