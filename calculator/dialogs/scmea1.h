// One-sample t test: a sample mean against a population mean, from the
// sample size and the population's standard deviation or variance.
#pragma once

#include "calculator/dialogs/dialogfwd.h"

class TScMean1 : public QDialog {
    Q_OBJECT

public:
    explicit TScMean1(QWidget *parent = nullptr);

    QPushButton *OKBtn, *CancelBtn;
    QGroupBox *GroupBox1, *GroupBox2, *GroupBox4;
    QLabel *Label1, *Label2, *Label3, *Label4;
    TNumEdit *Mean1, *Mean2, *StdDev;
    TSpinEdit *SampleSize;
    QRadioButton *Measure_variance, *Measure_StdDev;

    void OKBtnClick();
    // The spread label follows the variability measure chosen.
    void Measure_VarianceClick();
    void FormActivate();
};

extern TScMean1 *ScMean1;
