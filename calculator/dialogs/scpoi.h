// The Poisson dialog: the probabilities of at most, exactly and at least
// x events for a given mean.
#pragma once

#include "calculator/dialogs/dialogfwd.h"

class TScPoisson : public QDialog {
    Q_OBJECT

public:
    explicit TScPoisson(QWidget *parent = nullptr);

    QFrame *Bevel1;
    QPushButton *OKBtn;
    QPushButton *CancelBtn;
    TNumEdit *Mean;
    TSpinEdit *Value;

    void OKBtnClick();
    void FormActivate();
};

extern TScPoisson *ScPoisson;
