// Confidence interval of a mean from its standard deviation and the
// sample size, with Student's t.
#pragma once

#include "calculator/dialogs/dialogfwd.h"

class TScCIMean : public QDialog {
    Q_OBJECT

public:
    explicit TScCIMean(QWidget *parent = nullptr);

    QPushButton *OKBtn, *CancelBtn;
    QGroupBox *GroupBox1;
    QLabel *Label1, *Label2, *Label3, *Label4;
    TNumEdit *Mean, *StdDev, *ConfidenceWidth;
    TSpinEdit *SampleSize;

    void OKBtnClick();
};

extern TScCIMean *ScCIMean;
