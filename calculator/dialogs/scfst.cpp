#include "calculator/dialogs/scfst.h"

#include "calculator/dialogkit.h"
#include "calculator/framework/application.h"
#include "calculator/framework/convert.h"
#include "calculator/framework/spinedit.h"
#include "calculator/numedit.h"
#include "calculator/results.h"
#include "stats/probabilities.h"

TScStudentF *ScStudentF = nullptr;

TScStudentF::TScStudentF(QWidget *parent) : QDialog(parent)
{
    SetupDialogForm(this, QStringLiteral("F distribution"), 411, 111);
    Bevel1 = BevelFrame(this, {8, 8, 310, 95}, "Bevel1");
    FValue = NumberField(this, QStringLiteral("1.2"), {218, 16, 92, 21}, "FValue");
    FValue->SetPositiveOnly(true);
    FieldLabel(this, QStringLiteral("&F value:"), FValue, 10);
    Df1 = SpinField(this, 1, 100000, 1, {218, 44, 92, 21}, "Df1");
    FieldLabel(this, QStringLiteral("Degrees of Freedom of &Numerator:"), Df1, 10);
    Df2 = SpinField(this, 1, 100000, 1, {218, 72, 92, 21}, "Df2");
    FieldLabel(this, QStringLiteral("Degrees of Freedom of &Denominator:"), Df2, 10);
    OKBtn = CreateOkButton(this, &TScStudentF::OKBtnClick, {328, 8, 75, 25});
    CancelBtn = CreateCancelButton(this, {328, 40, 75, 25});
    SetTabOrder({OKBtn, CancelBtn, Df1, FValue, Df2});
    OKBtn->setFocus();
    BindFormActivate(this, [this] { FormActivate(); });
}

void TScStudentF::OKBtnClick()
{
    const double f = StrToFloat(FValue->text());
    const int df1 = Df1->Value();
    const int df2 = Df2->Value();
    AppendLine(QStringLiteral("F PROBABILITY (F = %1, d.f. = %2/%3)\r\n")
                   .arg(FValue->text(), IntToStr(df1), IntToStr(df2)));
    AppendProbabilityLine(QStringLiteral("\r\n"), FProbability(f, df1, df2));
}

void TScStudentF::FormActivate() {}
