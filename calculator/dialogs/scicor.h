// Confidence interval of Pearson's correlation coefficient from the number
// of cases.
#pragma once

#include "calculator/dialogs/dialogfwd.h"

class TScCiCorrelation : public QDialog {
    Q_OBJECT

public:
    explicit TScCiCorrelation(QWidget *parent = nullptr);

    QPushButton *OKBtn, *CancelBtn;
    QGroupBox *GroupBox1;
    QLabel *Label1, *Label2, *Label3;
    TNumEdit *Correl, *ConfidenceWidth;
    TSpinEdit *SampleSize;

    void OKBtnClick();
};

extern TScCiCorrelation *ScCiCorrelation;
