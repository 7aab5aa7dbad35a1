#include "calculator/dialogs/scpoi.h"

#include "calculator/dialogkit.h"
#include "calculator/framework/application.h"
#include "calculator/framework/convert.h"
#include "calculator/framework/spinedit.h"
#include "calculator/numedit.h"
#include "calculator/results.h"
#include "stats/probabilities.h"

TScPoisson *ScPoisson = nullptr;

TScPoisson::TScPoisson(QWidget *parent) : QDialog(parent)
{
    SetupDialogForm(this, QStringLiteral("Poisson distribution"), 290, 99);
    Bevel1 = BevelFrame(this, {8, 8, 274, 50}, "Bevel1");
    Mean = NumberField(this, QStringLiteral("0.5"), {60, 22, 76, 21}, "Mean");
    FieldLabel(this, QStringLiteral("&Mean:"), Mean, 12);
    Value = SpinField(this, 0, 32000, 0, {194, 22, 78, 21}, "Value");
    FieldLabel(this, QStringLiteral("&Value:"), Value, 140);
    OKBtn = CreateOkButton(this, &TScPoisson::OKBtnClick, {62, 66, 75, 25});
    CancelBtn = CreateCancelButton(this, {153, 66, 75, 25});
    SetTabOrder({OKBtn, CancelBtn, Mean, Value});
    OKBtn->setFocus();
    BindFormActivate(this, [this] { FormActivate(); });
}

void TScPoisson::OKBtnClick()
{
    const double Mu = StrToFloat(Mean->text());
    // The whole integer that the field holds: Enter may come before the
    // field is left and clamped into 0..32000.
    const long long x = Value->Value();
    const QString xText = Value->Text();
    AppendLine(
        QStringLiteral("POISSON PROBABILITY (Mu = %1, x = %2)\r\n").arg(Mean->text(), xText));
    AppendCountProbabilities(xText, PoissonProbabilities(x, Mu));
}

void TScPoisson::FormActivate() {}
