// The t distribution dialog: the one- and two-tailed probabilities of a
// Student's t value.
#pragma once

#include "calculator/dialogs/dialogfwd.h"

class TScStudentT : public QDialog {
    Q_OBJECT

public:
    explicit TScStudentT(QWidget *parent = nullptr);

    QFrame *Bevel1;
    QPushButton *OKBtn;
    QPushButton *CancelBtn;
    TNumEdit *TValue;
    TSpinEdit *DegreeOfFreedom;

    void OKBtnClick();
    void FormActivate();
};

extern TScStudentT *ScStudentT;
