// Difference between two correlations from independent samples, through
// Fisher's z.
#pragma once

#include "calculator/dialogs/dialogfwd.h"

class TScCorrelation : public QDialog {
    Q_OBJECT

public:
    explicit TScCorrelation(QWidget *parent = nullptr);

    QPushButton *OKBtn, *CancelBtn;
    QGroupBox *GroupBox1, *GroupBox2;
    QLabel *Label1, *Label2, *Label3, *Label4;
    TNumEdit *Correl1, *Correl2;
    TSpinEdit *SampleSize1, *SampleSize2;

    void OKBtnClick();
};

extern TScCorrelation *ScCorrelation;
