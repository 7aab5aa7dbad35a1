#include "calculator/dialogs/scmea2.h"

#include "calculator/dialogkit.h"
#include "calculator/framework/application.h"
#include "calculator/framework/convert.h"
#include "calculator/framework/spinedit.h"
#include "calculator/numedit.h"
#include "calculator/results.h"
#include "stats/fperror.h"
#include "stats/probabilities.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>
#include <cmath>

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
    Label1 = FieldLabel(GroupBox1, QStringLiteral("&Mean:"), Mean1, {2, 20, 112, 21});
    Label5 = FieldLabel(GroupBox1, QStringLiteral("St&andard deviation:"), StdDev1,
                        {2, 50, 112, 21});
    Label2 = FieldLabel(GroupBox1, QStringLiteral("&Sample size:"), SampleSize1,
                        {2, 80, 112, 21});
    GroupBox2 = sample(QStringLiteral("Sample #2"), 213, Mean2, StdDev2, SampleSize2,
                       QStringLiteral("12"), 12);
    Label3 = FieldLabel(GroupBox2, QStringLiteral("M&ean:"), Mean2, {2, 20, 112, 21});
    Label4 = FieldLabel(GroupBox2, QStringLiteral("Sta&ndard deviation:"), StdDev2,
                        {2, 50, 112, 21});
    Label6 = FieldLabel(GroupBox2, QStringLiteral("Sample si&ze:"), SampleSize2,
                        {2, 80, 112, 21});

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

    // Equality of variances: the larger variance over the smaller, its
    // numerator degrees of freedom those of the sample with the larger
    // spread (sample 2 on a tie), tested on both sides.
    const long double square1 = static_cast<long double>(s1) * s1;
    const long double square2 = static_cast<long double>(s2) * s2;
    const bool first = s1 > s2;
    const double F = Stored(first ? Divide(square1, square2) : Divide(square2, square1));
    const double upper = first ? FProbability(F, n1 - 1.0, n2 - 1.0)
                               : FProbability(F, n2 - 1.0, n1 - 1.0);
    const double PF = 2 * std::min(upper, 1 - upper);
    AppendLine(PadLeftText(QStringLiteral("Test for equality of variances (F = ")
                               + TrimSpaces(FormatText(10, 3, F)) + QStringLiteral(", P = "),
                           50)
               + FormatText(5, 4, PF) + QStringLiteral(")\r\n"));

    const double v1 = Stored(square1);
    const double v2 = Stored(square2);
    const long double difference = std::fabs(static_cast<long double>(m1) - m2);

    // Pooled variance.
    const double df = n1 + n2 - 2.0;
    const double vp = Stored(Divide((n1 - 1.0L) * v1 + (n2 - 1.0L) * v2, df));
    const double t = Stored(Divide(difference, Sqrt(Divide(vp, n1) + Divide(vp, n2))));
    AppendLine(QStringLiteral("   Equal variances (t = ") + TrimSpaces(FormatText(10, 3, t))
               + QLatin1Char(')'));
    const double p = StudentTProbability(t, df);
    AppendTailProbabilities(p);

    // Unequal variances, with Welch and Satterthwaite's degrees of freedom.
    const long double share1 = Divide(v1, n1);
    const long double share2 = Divide(v2, n2);
    const double tw = Stored(Divide(difference, Sqrt(share1 + share2)));
    const double dfw = Stored(Divide((share1 + share2) * (share1 + share2),
                                     Divide(share1 * share1, n1 - 1.0L)
                                         + Divide(share2 * share2, n2 - 1.0L)));
    AppendLine(QStringLiteral("\r\n   Unequal variances (t = ") + TrimSpaces(FormatText(10, 3, tw))
               + QLatin1Char(')'));
    const double pw = StudentTProbability(tw, dfw);
    AppendTailProbabilities(pw);

    AppendLine(QString());
}
