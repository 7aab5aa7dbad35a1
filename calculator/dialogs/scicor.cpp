#include "calculator/dialogs/scicor.h"

#include "calculator/dialogkit.h"
#include "calculator/framework/application.h"
#include "calculator/framework/convert.h"
#include "calculator/framework/spinedit.h"
#include "calculator/numedit.h"
#include "calculator/results.h"
#include "stats/inverse_t.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

TScCiCorrelation *ScCiCorrelation = nullptr;

TScCiCorrelation::TScCiCorrelation(QWidget *parent) : QDialog(parent)
{
    SetupDialogForm(this, QStringLiteral("Confidence Intervals for correlation"), 297, 124);

    GroupBox1 = GroupBox(this, QStringLiteral("Sample"), {8, 8, 200, 108});
    Correl = CorrelationField(GroupBox1, QStringLiteral("0.5"), {116, 20, 72, 21});
    SampleSize = SpinField(GroupBox1, 2, 1000000, 10, {116, 48, 72, 21});
    ConfidenceWidth = ConfidenceLevelField(GroupBox1, {116, 76, 72, 21});
    Label3 = FieldLabel(GroupBox1, QStringLiteral("&Correlation:"), Correl, 4);
    // This label names no field: its accelerator does nothing.
    Label1 = FieldLabel(GroupBox1, QStringLiteral("&Sample size:"), nullptr, {4, 48, 108, 21});
    Label2 = FieldLabel(GroupBox1, QStringLiteral("&Confidence width:"), ConfidenceWidth, 4);

    OKBtn = CreateOkButton(this, &TScCiCorrelation::OKBtnClick, {212, 8, 77, 27});
    CancelBtn = CreateCancelButton(this, {212, 40, 77, 27});

    SetTabOrder({OKBtn, CancelBtn, SampleSize, ConfidenceWidth, Correl});
    OKBtn->setFocus();
}

void TScCiCorrelation::OKBtnClick()
{
    const double r = StrToFloat(Correl->text());
    const double pct = StrToFloat(ConfidenceWidth->text());
    const int n = SampleSize->Value();

    AppendLine(QStringLiteral("\r\n  CONFIDENCE INTERVAL - CORRELATION  (r = ") + Correl->text()
               + QStringLiteral(", n = ") + IntToStr(n) + QLatin1Char(')'));

    double Lower = 0, Upper = 0;
    CorrelationConfidenceInterval(n, Lower, Upper, pct, r);

    const QString head = PadLeftText(ConfidenceWidth->text() + QStringLiteral("% C.I. =  ["), 20);
    AppendLine(IntervalLine(head, 5, Lower, Upper));
}
