#include "calculator/dialogs/sccipro.h"

#include "calculator/dialogkit.h"
#include "calculator/framework/application.h"
#include "calculator/framework/convert.h"
#include "calculator/framework/spinedit.h"
#include "calculator/numedit.h"
#include "calculator/results.h"
#include "stats/inference.h"

#include <QGroupBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

#include <algorithm>
#include <climits>

TScCIProportion *ScCIProportion = nullptr;

TScCIProportion::TScCIProportion(QWidget *parent) : QDialog(parent)
{
    SetupDialogForm(this, QStringLiteral("Binomial distribution"), 317, 128);

    GroupBox1 = GroupBox(this, QString(), {8, 8, 214, 112});
    Success = SpinField(GroupBox1, 0, 1000000, 1, {124, 14, 80, 21});
    Trial = SpinField(GroupBox1, 2, 100000, 10, {124, 46, 80, 21});
    ConfidenceWidth = ConfidenceLevelField(GroupBox1, {124, 78, 80, 21});
    Label3 = FieldLabel(GroupBox1, QStringLiteral("&Number of success:"), Success, 4);
    Label2 = FieldLabel(GroupBox1, QStringLiteral("&Sample size:"), Trial, 4);
    Label1 = FieldLabel(GroupBox1, QStringLiteral("&Confidence width:"), ConfidenceWidth, 4);

    OKBtn = CreateOkButton(this, &TScCIProportion::OKBtnClick, {232, 8, 77, 27});
    CancelBtn = CreateCancelButton(this, {232, 40, 77, 27});
    // The Help button neither shows help nor closes the dialog.
    HelpBtn = new QPushButton(QStringLiteral("&Help"), this);
    HelpBtn->setGeometry(232, 72, 77, 27);

    SetTabOrder({OKBtn, CancelBtn, HelpBtn, Trial, ConfidenceWidth, Success});
    OKBtn->setFocus();

    ConnectGuarded(Trial, &TSpinEdit::Change, this, &TScCIProportion::TrialChange);
    BindFormActivate(this, [this] { FormActivate(); });
}

void TScCIProportion::TrialChange()
{
    const int n = Trial->Value();
    const int top = static_cast<int>(std::max<long long>(n - 1LL, INT_MIN));
    Success->SetMaxValue(top);
    // Below 2 trials the maximum falls under the minimum 0, which the
    // field's setter then keeps to.
    if (Success->Value() >= n)
        Success->SetValue(top);
}

void TScCIProportion::FormActivate()
{
    TrialChange();
}

void TScCIProportion::OKBtnClick()
{
    const double pct = StrToFloat(ConfidenceWidth->text());
    const int n = Trial->Value();
    // Enter pressed inside the successes field skips the field's own
    // clamp; the count is brought into [0, n - 1] here as well.
    const int x = static_cast<int>(std::max(std::min<long long>(Success->Value(), n - 1LL), 0LL));

    if (x == 0) {
        QMessageBox box(
            QMessageBox::Critical, QStringLiteral("Error"),
            QStringLiteral("Illegal value - number of success must be greater than zero"),
            QMessageBox::Ok, this);
        box.exec();
        return;
    }

    AppendLine(QStringLiteral("CONFIDENCE INTERVAL - PROPORTION  (x = ") + IntToStr(x)
               + QStringLiteral(", n = ") + IntToStr(n) + QLatin1Char(')'));

    const Interval interval = ProportionConfidenceInterval(x, n, pct);
    const QString head = PadLeftText(ConfidenceWidth->text(), 15) + QStringLiteral("% C.I. =  [");
    AppendLine(IntervalLine(head, 3, interval.lower, interval.upper) + QStringLiteral("\r\n"));
}
