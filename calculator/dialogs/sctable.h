// The contingency table: the chi-square test of independence (Pearson,
// Yates-corrected and likelihood ratio) of a table of counts of 2 to 10
// columns and rows.
#pragma once

#include "calculator/dialogs/dialogfwd.h"

class QKeyEvent;

class TContingencyTable : public QDialog {
    Q_OBJECT

public:
    explicit TContingencyTable(QWidget *parent = nullptr);

    TSpinEdit *NbCols;
    TSpinEdit *NbRows;
    TStringGrid *Grid;
    QPushButton *OKBtn;
    QPushButton *CancelBtn;
    QLabel *Label1;
    QLabel *Label2;
    QFrame *Bevel1;

    // Fit the grid to the size fields, clamping them into 2..10 first.
    void NbColsChange();
    void NbRowsChange();
    void FormActivate();
    // Key filters: the grid takes digits and Backspace, the form digits.
    void FormKeyPress(QChar &Key);
    void GridKeyPress(QChar &Key);
    void OKBtnClick();

protected:
    void keyPressEvent(QKeyEvent *event) override;
};

// The open dialog; set by its launcher while it is shown.
extern TContingencyTable *ContingencyTable;
