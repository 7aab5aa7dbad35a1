#include "calculator/dialogs/scmea2.h"

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

TScMean *ScMean = nullptr;

TScMean::TScMean(QWidget *parent) : QDialog(parent)
{
    SetupDialogForm(this, QStringLiteral("Comparison between 2 means"), 418, 210);

    GroupBox4 = VariabilityMeasureBox(this, Measure_variance, Measure_StdDev,
                                      &TScMean::Measure_VarianceClick);

    // The two samples' boxes are laid out alike.
    auto sample = [this](const QString &caption, int left, TNumEdit *&mean, TNumEdit *&stdDev,
                         TSpinEdit *&size, const QString &meanText, int sizeValue) {
        QGroupBox *box = GroupBox(this, caption, {left, 56, 197, 110});
        mean = NumberField(box, meanText, {118, 20, 71, 21});
        stdDev = NumberField(box, meanText, {118, 50, 71, 21});
        stdDev->SetPositiveOnly(true);
        size = SpinField(box, 2, 1000000, sizeValue, {118, 80, 71, 21});
        return box;
    };
    GroupBox1 = sample(QStringLiteral("Sample #1"), 8, Mean1, StdDev1, SampleSize1,
                       QStringLiteral("10"), 10);
    Label1 = FieldLabel(GroupBox1, QStringLiteral("&Mean:"), Mean1, 2);
    Label5 = FieldLabel(GroupBox1, QStringLiteral("St&andard deviation:"), StdDev1, 2);
    Label2 = FieldLabel(GroupBox1, QStringLiteral("&Sample size:"), SampleSize1, 2);
    GroupBox2 = sample(QStringLiteral("Sample #2"), 213, Mean2, StdDev2, SampleSize2,
                       QStringLiteral("12"), 12);
    Label3 = FieldLabel(GroupBox2, QStringLiteral("M&ean:"), Mean2, 2);
    Label4 = FieldLabel(GroupBox2, QStringLiteral("Sta&ndard deviation:"), StdDev2, 2);
    Label6 = FieldLabel(GroupBox2, QStringLiteral("Sample si&ze:"), SampleSize2, 2);

    OKBtn = CreateOkButton(this, &TScMean::OKBtnClick, {254, 176, 75, 25});
    CancelBtn = CreateCancelButton(this, {335, 176, 75, 25});

    SetTabOrder({OKBtn, CancelBtn, Mean1, StdDev1, SampleSize1, Mean2, StdDev2, SampleSize2,
                 Measure_variance, Measure_StdDev});
    OKBtn->setFocus();

    BindFormActivate(this, [this] { FormActivate(); });
}

void TScMean::Measure_VarianceClick()
{
    const bool variance = Measure_variance->isChecked();
    Label5->setText(variance ? QStringLiteral("V&ariance:")
                             : QStringLiteral("St&andard deviation:"));
    Label4->setText(variance ? QStringLiteral("Varia&nce:")
                             : QStringLiteral("Sta&ndard deviation:"));
}

void TScMean::FormActivate()
{
    Measure_VarianceClick();
}

namespace {

// One sample as the result lines show it.
QString SampleLine(const char *head, double m, double s, int n)
{
    return PadLeftText(QLatin1String(head), 25) + TrimSpaces(FormatText(10, 3, m))
           + QStringLiteral(", s.d. = ") + TrimSpaces(FormatText(10, 3, s))
           + QStringLiteral(", n = ") + IntToStr(n) + QLatin1Char(')');
}

}  // namespace

void TScMean::OKBtnClick()
{
    AppendLine(QStringLiteral("T-TEST FOR 2 INDEPENDENT SAMPLES"));

    const double m1 = StrToFloat(Mean1->text());
    const double m2 = StrToFloat(Mean2->text());
    double s1 = StrToFloat(StdDev1->text());
    double s2 = StrToFloat(StdDev2->text());
    if (Measure_variance->isChecked()) {
        s1 = Stored(Sqrt(s1));
        s2 = Stored(Sqrt(s2));
    }
    const int n1 = SampleSize1->Value();
    const int n2 = SampleSize2->Value();

    AppendLine(SampleLine("(1st sample: m  = ", m1, s1, n1));
    AppendLine(SampleLine("(2nd sample: m  = ", m2, s2, n2) + QStringLiteral("\r\n"));

    const VarianceRatioTest equality = EqualVariancesTest(s1, n1, s2, n2);
    const QString head = PadLeftText(QStringLiteral("Test for equality of variances (F = ")
                                         + TrimSpaces(FormatText(10, 3, equality.F))
                                         + QStringLiteral(", P = "),
                                     50);
    AppendLine(head + FormatText(5, 4, equality.p) + QStringLiteral(")\r\n"));

    const TTest pooled = PooledTTest(m1, s1, n1, m2, s2, n2);
    AppendLine(QStringLiteral("   Equal variances (t = ") + TrimSpaces(FormatText(10, 3, pooled.t))
               + QLatin1Char(')'));
    AppendTailProbabilities(pooled.p);

    const TTest welch = UnequalVariancesTTest(m1, s1, n1, m2, s2, n2);
    AppendLine(QStringLiteral("\r\n   Unequal variances (t = ")
               + TrimSpaces(FormatText(10, 3, welch.t)) + QLatin1Char(')'));
    AppendTailProbabilities(welch.p);

    AppendLine(QString());
}
