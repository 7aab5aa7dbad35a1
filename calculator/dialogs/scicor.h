// Confidence interval of Pearson's correlation coefficient from the number
// of cases.
#pragma once

#include <QDialog>

class QGroupBox;
class QLabel;
class QPushButton;
class TNumEdit;
class TSpinEdit;

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
