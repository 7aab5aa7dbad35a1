// Exact (Clopper-Pearson) confidence interval of a binomial proportion:
// x successes among n trials at a confidence level in percent.
#pragma once

#include "calculator/dialogs/dialogfwd.h"

class TScCIProportion : public QDialog {
    Q_OBJECT

public:
    explicit TScCIProportion(QWidget *parent = nullptr);

    QPushButton *OKBtn, *CancelBtn, *HelpBtn;
    QGroupBox *GroupBox1;
    QLabel *Label1, *Label2, *Label3;
    TSpinEdit *Success, *Trial;
    TNumEdit *ConfidenceWidth;

    void OKBtnClick();
    // Keeps the successes below the number of trials.
    void TrialChange();
    void FormActivate();
};

extern TScCIProportion *ScCIProportion;
