#include "calculator/dialogs/scchi.h"

#include "calculator/dialogkit.h"
#include "calculator/framework/application.h"
#include "calculator/framework/convert.h"
#include "calculator/framework/spinedit.h"
#include "calculator/numedit.h"
#include "calculator/results.h"
#include "stats/probabilities.h"

TScChiSquare *ScChiSquare = nullptr;

TScChiSquare::TScChiSquare(QWidget *parent) : QDialog(parent)
{
    SetupDialogForm(this, QStringLiteral("Chi-square distribution"), 319, 89);
    Bevel1 = BevelFrame(this, {8, 8, 218, 73}, "Bevel1");
    ChiSquare = NumberField(this, QStringLiteral("1.2"), {136, 18, 82, 21}, "ChiSquare");
    ChiSquare->SetPositiveOnly(true);
    FieldLabel(this, QStringLiteral("&Chi-square value:"), ChiSquare, 12);
    DegreeOfFreedom = SpinField(this, 1, 100000, 1, {136, 50, 82, 21}, "DegreeOfFreedom");
    FieldLabel(this, QStringLiteral("&Degrees of freedom:"), DegreeOfFreedom, 12);
    OKBtn = CreateOkButton(this, &TScChiSquare::OKBtnClick, {236, 8, 75, 25});
    CancelBtn = CreateCancelButton(this, {236, 40, 75, 25});
    SetTabOrder({OKBtn, CancelBtn, DegreeOfFreedom, ChiSquare});
    OKBtn->setFocus();
    BindFormActivate(this, [this] { FormActivate(); });
}

void TScChiSquare::OKBtnClick()
{
    const double chi = StrToFloat(ChiSquare->text());
    const int df = DegreeOfFreedom->Value();
    AppendLine(QStringLiteral("CHI-SQUARE PROBABILITY (Chi = %1, d.f. = %2)\r\n")
                   .arg(ChiSquare->text(), IntToStr(df)));
    AppendProbabilityLine(QStringLiteral("\r\n"), ChiSquareProbability(df, chi));
}

void TScChiSquare::FormActivate() {}
