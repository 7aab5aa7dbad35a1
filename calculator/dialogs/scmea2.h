// Comparison of the means of two independent samples: the test of equal
// variances, the pooled t test and the unequal-variance t test, from each
// sample's mean, standard deviation (or variance) and size.
#pragma once

#include "calculator/dialogs/dialogfwd.h"

class TScMean : public QDialog {
    Q_OBJECT

public:
    explicit TScMean(QWidget *parent = nullptr);

    QPushButton *OKBtn, *CancelBtn;
    QGroupBox *GroupBox1, *GroupBox2, *GroupBox4;
    QLabel *Label1, *Label2, *Label3, *Label4, *Label5, *Label6;
    TNumEdit *Mean1, *StdDev1, *Mean2, *StdDev2;
    TSpinEdit *SampleSize1, *SampleSize2;
    QRadioButton *Measure_variance, *Measure_StdDev;

    void OKBtnClick();
    // The spread labels follow the variability measure chosen.
    void Measure_VarianceClick();
    void FormActivate();
};

extern TScMean *ScMean;
