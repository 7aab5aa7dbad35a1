#include "calculator/dialogs/scnor.h"

#include "calculator/dialogkit.h"
#include "calculator/framework/application.h"
#include "calculator/framework/convert.h"
#include "calculator/framework/spinedit.h"
#include "calculator/numedit.h"
#include "calculator/results.h"
#include "stats/probabilities.h"

#include <cmath>

TScNormal *ScNormal = nullptr;

TScNormal::TScNormal(QWidget *parent) : QDialog(parent)
{
    SetupDialogForm(this, QStringLiteral("Normal distribution"), 186, 91);
    Bevel1 = BevelFrame(this, {8, 8, 170, 46}, "Bevel1");
    Edit1 = NumberField(this, QStringLiteral("0.5"), {90, 20, 80, 21}, "Edit1");
    FieldLabel(this, QStringLiteral("Value of &Z:"), Edit1, 12);
    OKBtn = CreateOkButton(this, &TScNormal::OKBtnClick, {12, 60, 75, 25});
    CancelBtn = CreateCancelButton(this, {99, 60, 75, 25});
    SetTabOrder({OKBtn, CancelBtn, Edit1});
    OKBtn->setFocus();
    BindFormActivate(this, [this] { FormActivate(); });
}

void TScNormal::OKBtnClick()
{
    const double z = StrToFloat(Edit1->text());
    AppendLine(QStringLiteral("NORMAL PROBABILITY  (z = %1)\r\n").arg(Edit1->text()));
    AppendTailProbabilities(NormalTailProbability(std::fabs(z)));
    AppendLine(QString());
}

void TScNormal::FormActivate() {}
