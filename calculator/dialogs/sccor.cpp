#include "calculator/dialogs/sccor.h"

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

TScCorrelation *ScCorrelation = nullptr;

TScCorrelation::TScCorrelation(QWidget *parent) : QDialog(parent)
{
    SetupDialogForm(this, QStringLiteral("Difference between two correlations"), 367, 129);

    // The two samples' boxes are laid out alike.
    auto sample = [this](const QString &caption, int left, TNumEdit *&correl, TSpinEdit *&size,
                         const QString &correlText) {
        QGroupBox *box = GroupBox(this, caption, {left, 8, 171, 80});
        correl = CorrelationField(box, correlText, {96, 20, 65, 21});
        size = SpinField(box, 2, 1000000, 10, {96, 50, 65, 21});
        return box;
    };
    GroupBox1 =
        sample(QStringLiteral("Sample #1"), 8, Correl1, SampleSize1, QStringLiteral("0.5"));
    Label1 = FieldLabel(GroupBox1, QStringLiteral("&Correlation:"), Correl1, 4);
    Label2 = FieldLabel(GroupBox1, QStringLiteral("&Sample size:"), SampleSize1, 4);
    GroupBox2 =
        sample(QStringLiteral("Sample #2"), 188, Correl2, SampleSize2, QStringLiteral("0.3"));
    Label3 = FieldLabel(GroupBox2, QStringLiteral("C&orrelation:"), Correl2, 4);
    Label4 = FieldLabel(GroupBox2, QStringLiteral("S&ample size:"), SampleSize2, 4);

    OKBtn = CreateOkButton(this, &TScCorrelation::OKBtnClick, {203, 96, 75, 25});
    CancelBtn = CreateCancelButton(this, {284, 96, 75, 25});

    SetTabOrder({OKBtn, CancelBtn, Correl1, SampleSize1, Correl2, SampleSize2});
    OKBtn->setFocus();
}

void TScCorrelation::OKBtnClick()
{
    const double r1 = StrToFloat(Correl1->text());
    const double r2 = StrToFloat(Correl2->text());
    const int n1 = SampleSize1->Value();
    const int n2 = SampleSize2->Value();

    AppendLine(QStringLiteral("\r\nDIFF. BETWEEN CORRELATION  (r1 = ") + Correl1->text()
               + QStringLiteral(", n = ") + IntToStr(n1) + QLatin1Char(')'));

    const ZTest test = CorrelationDifferenceTest(r1, n1, r2, n2);

    AppendLine(PadLeftText(QStringLiteral("(r2 = "), 33) + TrimSpaces(Correl2->text())
               + QStringLiteral(", n = ") + IntToStr(n2) + QStringLiteral(")\r\n"));

    AppendTailProbabilities(test.p, QStringLiteral("\r\n"));
}
