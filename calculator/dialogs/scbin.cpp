#include "calculator/dialogs/scbin.h"

#include "calculator/dialogkit.h"
#include "calculator/framework/application.h"
#include "calculator/framework/convert.h"
#include "calculator/framework/spinedit.h"
#include "calculator/numedit.h"
#include "calculator/results.h"
#include "stats/probabilities.h"

TScBinomial *ScBinomial = nullptr;

TScBinomial::TScBinomial(QWidget *parent) : QDialog(parent)
{
    SetupDialogForm(this, QStringLiteral("Binomial distribution"), 328, 110);
    Bevel1 = BevelFrame(this, {8, 8, 229, 94}, "Bevel1");
    NbTrials = SpinField(this, 0, 1000000, 4, {150, 16, 78, 21}, "NbTrials");
    FieldLabel(this, QStringLiteral("Number of &Trials:"), NbTrials, 12);
    // No limit until the field is first entered.
    NbSuccess = SpinField(this, 0, 0, 2, {150, 44, 78, 21}, "NbSuccess");
    FieldLabel(this, QStringLiteral("Number of &Success:"), NbSuccess, 12);
    Probability = NumberField(this, QStringLiteral("0.5"), {150, 72, 78, 21}, "Probability");
    Probability->SetPositiveOnly(true);
    Probability->SetRangeCheck(true);
    Probability->SetRangeMinimum(0);
    Probability->SetRangeMaximum(1);
    FieldLabel(this, QStringLiteral("&Probability of success:"), Probability, 12);
    OKBtn = CreateOkButton(this, &TScBinomial::OKBtnClick, {245, 8, 75, 25});
    CancelBtn = CreateCancelButton(this, {245, 40, 75, 25});
    SetTabOrder({OKBtn, CancelBtn, NbTrials, NbSuccess, Probability});
    OKBtn->setFocus();
    ConnectGuarded(NbSuccess, &TSpinEdit::Enter, this, &TScBinomial::NbSuccessEnter);
    BindFormActivate(this, [this] { FormActivate(); });
}

void TScBinomial::NbSuccessEnter()
{
    NbSuccess->SetMaxValue(NbTrials->Value());
    if (NbSuccess->Value() > NbSuccess->MaxValue())
        NbSuccess->SetValue(NbSuccess->MaxValue());
}

void TScBinomial::OKBtnClick()
{
    const double p = StrToFloat(Probability->text());
    const int n = NbTrials->Value();
    const int x = NbSuccess->Value();
    const QString xText = IntToStr(x);
    AppendLine(QStringLiteral("BINOMIAL PROBABILITY  (n = %1, x = %2, p = %3)\r\n")
                   .arg(IntToStr(n), xText, Probability->text()));
    AppendCountProbabilities(xText, BinomialProbabilities(x, n, p));
}

void TScBinomial::FormActivate() {}
