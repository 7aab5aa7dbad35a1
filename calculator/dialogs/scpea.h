// The Pearson's r dialog: the one- and two-tailed probabilities of a
// correlation in a sample of n cases.
#pragma once

#include "calculator/dialogs/dialogfwd.h"

class TScPearsonR : public QDialog {
    Q_OBJECT

public:
    explicit TScPearsonR(QWidget *parent = nullptr);

    QFrame *Bevel1;
    QPushButton *OKBtn;
    QPushButton *CancelBtn;
    TNumEdit *Value;
    TSpinEdit *SampleSize;

    void OKBtnClick();
    void FormActivate();
};

extern TScPearsonR *ScPearsonR;
