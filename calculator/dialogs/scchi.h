// The chi-square distribution dialog: the upper-tail probability of a
// chi-square value.
#pragma once

#include "calculator/dialogs/dialogfwd.h"

class TScChiSquare : public QDialog {
    Q_OBJECT

public:
    explicit TScChiSquare(QWidget *parent = nullptr);

    QFrame *Bevel1;
    QPushButton *OKBtn;
    QPushButton *CancelBtn;
    TNumEdit *ChiSquare;
    TSpinEdit *DegreeOfFreedom;

    void OKBtnClick();
    void FormActivate();
};

extern TScChiSquare *ScChiSquare;
