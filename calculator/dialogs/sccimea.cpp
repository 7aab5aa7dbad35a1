#include "calculator/dialogs/sccimea.h"

#include "calculator/dialogkit.h"
#include "calculator/framework/application.h"
#include "calculator/framework/convert.h"
#include "calculator/framework/spinedit.h"
#include "calculator/numedit.h"
#include "calculator/results.h"
#include "stats/inference.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

TScCIMean *ScCIMean = nullptr;

TScCIMean::TScCIMean(QWidget *parent) : QDialog(parent)
{
    SetupDialogForm(this, QStringLiteral("Confidence interval of the mean"), 300, 153);

    GroupBox1 = GroupBox(this, QStringLiteral("Sample"), {8, 8, 200, 137});
    Mean = NumberField(GroupBox1, QStringLiteral("0.5"), {116, 20, 72, 21});
    StdDev = NumberField(GroupBox1, QStringLiteral("0.5"), {116, 48, 72, 21});
    StdDev->SetPositiveOnly(true);
    SampleSize = SpinField(GroupBox1, 2, 1000000, 10, {116, 76, 72, 21});
    ConfidenceWidth = ConfidenceLevelField(GroupBox1, {116, 104, 72, 21});
    Label3 = FieldLabel(GroupBox1, QStringLiteral("&Mean:"), Mean, 4);
    Label4 = FieldLabel(GroupBox1, QStringLiteral("Standard &deviation:"), StdDev, 4);
    Label1 = FieldLabel(GroupBox1, QStringLiteral("&Sample size:"), SampleSize, 4);
    Label2 = FieldLabel(GroupBox1, QStringLiteral("&Confidence width:"), ConfidenceWidth, 4);

    OKBtn = CreateOkButton(this, &TScCIMean::OKBtnClick, {215, 8, 77, 27});
    CancelBtn = CreateCancelButton(this, {215, 40, 77, 27});

    SetTabOrder({OKBtn, CancelBtn, Mean, SampleSize, ConfidenceWidth, StdDev});
    OKBtn->setFocus();
}

void TScCIMean::OKBtnClick()
{
    const double m = StrToFloat(Mean->text());
    const double s = StrToFloat(StdDev->text());
    const double pct = StrToFloat(ConfidenceWidth->text());
    const int n = SampleSize->Value();

    AppendLine(QStringLiteral("\r\n  CONFIDENCE INTERVAL - MEAN  (m = ")
               + TrimSpaces(FormatText(10, 3, m)) + QStringLiteral(", s.d. = ")
               + TrimSpaces(FormatText(10, 3, s)) + QStringLiteral(", n = ") + IntToStr(n)
               + QLatin1Char(')'));

    const Interval interval = MeanConfidenceInterval(m, s, n, pct);
    const QString head = PadLeftText(ConfidenceWidth->text(), 15) + QStringLiteral("% C.I. =  [");
    AppendLine(IntervalLine(head, 3, interval.lower, interval.upper));
}
