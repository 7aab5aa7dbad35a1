#include "calculator/dialogs/scmea1.h"

#include "calculator/dialogkit.h"
#include "calculator/framework/application.h"
#include "calculator/framework/convert.h"
#include "calculator/framework/spinedit.h"
#include "calculator/numedit.h"
#include "calculator/results.h"
#include "stats/fperror.h"
#include "stats/inference.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

TScMean1 *ScMean1 = nullptr;

TScMean1::TScMean1(QWidget *parent) : QDialog(parent)
{
    SetupDialogForm(this, QStringLiteral("Comparison of means - 1 sample"), 418, 187);

    GroupBox4 = VariabilityMeasureBox(this, Measure_variance, Measure_StdDev,
                                      &TScMean1::Measure_VarianceClick);

    GroupBox1 = GroupBox(this, QStringLiteral("Sample"), {8, 56, 197, 84});
    Mean1 = NumberField(GroupBox1, QStringLiteral("0.5"), {118, 20, 71, 21});
    SampleSize = SpinField(GroupBox1, 2, 1000000, 10, {118, 52, 71, 21});
    Label1 = FieldLabel(GroupBox1, QStringLiteral("&Mean:"), Mean1, 2);
    Label2 = FieldLabel(GroupBox1, QStringLiteral("&Sample size:"), SampleSize, 2);

    GroupBox2 = GroupBox(this, QStringLiteral("Population"), {213, 56, 197, 84});
    Mean2 = NumberField(GroupBox2, QStringLiteral("0.0"), {118, 20, 71, 21});
    StdDev = NumberField(GroupBox2, QStringLiteral("0.5"), {118, 52, 71, 21});
    StdDev->SetPositiveOnly(true);
    Label3 = FieldLabel(GroupBox2, QStringLiteral("M&ean:"), Mean2, 2);
    Label4 = FieldLabel(GroupBox2, QStringLiteral("St&andard deviation:"), StdDev, 2);

    OKBtn = CreateOkButton(this, &TScMean1::OKBtnClick, {254, 152, 75, 25});
    CancelBtn = CreateCancelButton(this, {335, 152, 75, 25});

    SetTabOrder({OKBtn, CancelBtn, Mean1, SampleSize, Mean2, StdDev, Measure_variance,
                 Measure_StdDev});
    OKBtn->setFocus();

    BindFormActivate(this, [this] { FormActivate(); });
}

void TScMean1::Measure_VarianceClick()
{
    Label4->setText(Measure_variance->isChecked() ? QStringLiteral("V&ariance:")
                                                  : QStringLiteral("St&andard deviation:"));
}

void TScMean1::FormActivate()
{
    Measure_VarianceClick();
}

void TScMean1::OKBtnClick()
{
    const double m = StrToFloat(Mean1->text());
    const double Mu = StrToFloat(Mean2->text());
    const double spread = StrToFloat(StdDev->text());
    const double s = Measure_variance->isChecked() ? Stored(Sqrt(spread)) : spread;
    const int n = SampleSize->Value();

    AppendLine(QStringLiteral("T-TEST FOR 1 SAMPLE  (m = ") + Mean1->text()
               + QStringLiteral(", n = ") + IntToStr(n) + QStringLiteral(", Mu = ")
               + Mean2->text() + QStringLiteral(", S.D. = ") + StdDev->text()
               + QStringLiteral(")\r\n"));

    const TTest test = OneSampleTTest(m, Mu, s, n);
    AppendLine(PadLeftText(QStringLiteral("t = "), 15) + FormatText(6, 3, test.t));
    AppendTailProbabilities(test.p, QStringLiteral("\r\n"));
}
