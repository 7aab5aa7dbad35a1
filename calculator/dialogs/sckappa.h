// The inter-raters agreement table: two raters' classifications of the
// same items into k ordered categories (k from 2 to 10), with the nominal
// agreement statistics (percentage, Cohen's kappa, Scott's pi, the
// free-marginal coefficient) and the ordinal ones (Krippendorff's R and
// r-bar, the ordinal free-marginal coefficient).
#pragma once

#include "calculator/dialogs/dialogfwd.h"

class TKappaTable : public QDialog {
    Q_OBJECT

public:
    explicit TKappaTable(QWidget *parent = nullptr);

    TSpinEdit *NbCols;
    TStringGrid *Grid;
    QPushButton *OKBtn;
    QPushButton *CancelBtn;
    QLabel *Label1;
    QFrame *Bevel1;

    // Fits the square grid to the size field; a size outside 2..10 leaves
    // the grid as it is until the field is left.
    void NbColsChange();
    void NbColsExit();
    void FormActivate();
    // Key filter: the grid takes digits and Backspace.
    void GridKeyPress(QChar &Key);
    void OKBtnClick();
};

// The open dialog; set by its launcher while it is shown.
extern TKappaTable *KappaTable;
