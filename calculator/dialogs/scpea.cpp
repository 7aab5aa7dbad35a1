#include "calculator/dialogs/scpea.h"

#include "calculator/dialogkit.h"
#include "calculator/framework/application.h"
#include "calculator/framework/convert.h"
#include "calculator/framework/spinedit.h"
#include "calculator/numedit.h"
#include "calculator/results.h"
#include "stats/probabilities.h"

TScPearsonR *ScPearsonR = nullptr;

TScPearsonR::TScPearsonR(QWidget *parent) : QDialog(parent)
{
    SetupDialogForm(this, QStringLiteral("Pearson's r distribution"), 314, 88);
    Bevel1 = BevelFrame(this, {8, 8, 213, 72}, "Bevel1");
    Value = CorrelationField(this, QStringLiteral("0.5"), {132, 18, 80, 21}, "Value");
    FieldLabel(this, QStringLiteral("&Pearson's r value:"), Value, 12);
    SampleSize = SpinField(this, 3, 100000, 10, {132, 50, 80, 21}, "SampleSize");
    FieldLabel(this, QStringLiteral("&Sample size:"), SampleSize, 12);
    OKBtn = CreateOkButton(this, &TScPearsonR::OKBtnClick, {231, 8, 75, 25});
    CancelBtn = CreateCancelButton(this, {231, 40, 75, 25});
    SetTabOrder({OKBtn, CancelBtn, SampleSize, Value});
    OKBtn->setFocus();
    BindFormActivate(this, [this] { FormActivate(); });
}

void TScPearsonR::OKBtnClick()
{
    const double r = StrToFloat(Value->text());
    const int n = SampleSize->Value();
    AppendLine(
        QStringLiteral("R PROBABILITY (r = %1, n = %2)\r\n").arg(Value->text(), IntToStr(n)));
    AppendTailProbabilities(CorrelationProbability(n, r), QStringLiteral("\r\n"));
}

void TScPearsonR::FormActivate() {}
