// The F distribution dialog: the upper-tail probability of an F value.
#pragma once

#include "calculator/dialogs/dialogfwd.h"

class TScStudentF : public QDialog {
    Q_OBJECT

public:
    explicit TScStudentF(QWidget *parent = nullptr);

    QFrame *Bevel1;
    QPushButton *OKBtn;
    QPushButton *CancelBtn;
    TNumEdit *FValue;
    TSpinEdit *Df1;
    TSpinEdit *Df2;

    void OKBtnClick();
    void FormActivate();
};

extern TScStudentF *ScStudentF;
