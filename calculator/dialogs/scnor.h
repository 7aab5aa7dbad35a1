// The normal distribution dialog: the one- and two-tailed probabilities of
// a z value.
#pragma once

#include "calculator/dialogs/dialogfwd.h"

class TScNormal : public QDialog {
    Q_OBJECT

public:
    explicit TScNormal(QWidget *parent = nullptr);

    QFrame *Bevel1;
    QPushButton *OKBtn;
    QPushButton *CancelBtn;
    TNumEdit *Edit1;

    void OKBtnClick();
    void FormActivate();
};

extern TScNormal *ScNormal;
