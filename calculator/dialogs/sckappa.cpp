#include "calculator/dialogs/sckappa.h"

#include "calculator/dialogkit.h"
#include "calculator/dialogs/countgrid.h"
#include "calculator/framework/application.h"
#include "calculator/framework/spinedit.h"
#include "calculator/framework/stringgrid.h"
#include "calculator/results.h"
#include "stats/tables.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>

TKappaTable *KappaTable = nullptr;

TKappaTable::TKappaTable(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("KappaTable"));
    SetupDialogForm(this, QStringLiteral("Inter-raters agreement table"), 437, 296);

    Bevel1 = BevelFrame(this, {8, 40, 425, 225});

    NbCols = SpinField(this, 2, 10, 2, {192, 8, 49, 22});

    Grid = CountGrid(this, QAbstractItemView::SingleSelection,
                     [this](QChar &Key) { GridKeyPress(Key); });

    OKBtn = CreateOkButton(this, &TKappaTable::OKBtnClick, {264, 268, 77, 27});
    CancelBtn = CreateCancelButton(this, {348, 268, 77, 27});

    Label1 = FittedLabel(this, QStringLiteral("&Number of rows and columns:"), NbCols, {16, 12});

    SetTabOrder({NbCols, Grid, OKBtn, CancelBtn});
    OKBtn->setFocus();

    ConnectGuarded(NbCols, &TSpinEdit::Change, this, &TKappaTable::NbColsChange);
    ConnectGuarded(NbCols, &TSpinEdit::Exit, this, &TKappaTable::NbColsExit);
    BindFormActivate(this, [this] { FormActivate(); });
}

// The grid is square, centred on the dialog's outer width and one pixel
// below the centre of the frame.
void TKappaTable::NbColsChange()
{
    TKappaTable *dialog = KappaTable;
    const int k = dialog->NbCols->Value();
    if (k < 2 || k > 10)
        return;
    TStringGrid *grid = dialog->Grid;
    grid->SetColCount(k);
    grid->SetRowCount(k);
    grid->resize(41 * k + 3, 21 * k + 3);
    const QFrame *bevel = dialog->Bevel1;
    grid->move((dialog->frameGeometry().width() - grid->width()) / 2,
               bevel->y() + (bevel->height() - grid->height()) / 2 + 1);
}

void TKappaTable::NbColsExit()
{
    ClampSpinEdit(NbCols, 2, 10);
}

void TKappaTable::FormActivate()
{
    NbColsChange();
}

void TKappaTable::GridKeyPress(QChar &Key)
{
    KeepDigits(Key, true);
}

void TKappaTable::OKBtnClick()
{
    Grid->CommitEdit();
    // Enter pressed in the size field computes before the field is left
    // and clamped: clamp it here, and the grid follows.
    NbColsExit();
    const int k = NbCols->Value();

    AppendLine(QStringLiteral("INTER-RATERS TABLE - TEST OF AGREEMENT\r\n"));
    const RaterAgreement a = AgreementOfRaters(ReadCounts(*Grid, k, k), k);

    AppendLine(QStringLiteral("\r\n NOMINAL SCALE"));
    AppendLine(QStringLiteral("      Pct. of Agreement = ") + FormatText(4, 1, a.percentage)
               + QStringLiteral("%\r\n"));
    AppendLine(QStringLiteral("          Cohen's Kappa = ") + FormatText(4, 3, a.kappa));
    AppendLine(QStringLiteral("             Scott's Pi = ") + FormatText(4, 3, a.pi));
    AppendLine(QStringLiteral("         Free marginals = ") + FormatText(4, 3, a.freeMarginals));
    AppendLine(QStringLiteral("\r\n ORDINAL SCALE"));
    AppendLine(QStringLiteral("       Krippendorff's R = ") + FormatText(4, 3, a.krippendorffR));
    AppendLine(QStringLiteral("   Krippendorff's r-bar = ") + FormatText(4, 3, a.krippendorffRbar));
    AppendLine(QStringLiteral("         Free marginals = ")
               + FormatText(4, 3, a.ordinalFreeMarginals));
    AppendLine(QString());
}
