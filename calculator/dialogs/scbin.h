// The binomial dialog: the probabilities of at most, exactly and at least
// x successes in n trials.
#pragma once

#include "calculator/dialogs/dialogfwd.h"

class TScBinomial : public QDialog {
    Q_OBJECT

public:
    explicit TScBinomial(QWidget *parent = nullptr);

    QFrame *Bevel1;
    QPushButton *OKBtn;
    QPushButton *CancelBtn;
    TSpinEdit *NbTrials;
    TSpinEdit *NbSuccess;
    TNumEdit *Probability;

    void OKBtnClick();
    void FormActivate();
    // Caps the successes at the number of trials each time the field is
    // entered.
    void NbSuccessEnter();
};

extern TScBinomial *ScBinomial;
