#include "calculator/dialogs/scstu.h"

#include "calculator/dialogkit.h"
#include "calculator/framework/application.h"
#include "calculator/framework/convert.h"
#include "calculator/framework/spinedit.h"
#include "calculator/numedit.h"
#include "calculator/results.h"
#include "stats/probabilities.h"

TScStudentT *ScStudentT = nullptr;

TScStudentT::TScStudentT(QWidget *parent) : QDialog(parent)
{
    SetupDialogForm(this, QStringLiteral("t distribution"), 314, 87);
    Bevel1 = BevelFrame(this, {8, 8, 213, 71}, "Bevel1");
    TValue = NumberField(this, QStringLiteral("1.2"), {132, 18, 80, 21}, "TValue");
    FieldLabel(this, QStringLiteral("&Student's t value:"), TValue, 12);
    DegreeOfFreedom = SpinField(this, 1, 100000, 10, {132, 50, 80, 21}, "DegreeOfFreedom");
    FieldLabel(this, QStringLiteral("&Degrees of freedom:"), DegreeOfFreedom, 12);
    OKBtn = CreateOkButton(this, &TScStudentT::OKBtnClick, {231, 8, 75, 25});
    CancelBtn = CreateCancelButton(this, {231, 40, 75, 25});
    SetTabOrder({OKBtn, CancelBtn, DegreeOfFreedom, TValue});
    OKBtn->setFocus();
    BindFormActivate(this, [this] { FormActivate(); });
}

void TScStudentT::OKBtnClick()
{
    const double t = StrToFloat(TValue->text());
    const int df = DegreeOfFreedom->Value();
    AppendLine(QStringLiteral("T PROBABILITY (t = %1, d.f. = %2)\r\n")
                   .arg(TValue->text(), IntToStr(df)));
    AppendTailProbabilities(StudentTProbability(t, df), QStringLiteral("\r\n"));
}

void TScStudentT::FormActivate() {}
