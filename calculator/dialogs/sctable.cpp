#include "calculator/dialogs/sctable.h"

#include "calculator/dialogkit.h"
#include "calculator/dialogs/countgrid.h"
#include "calculator/framework/application.h"
#include "calculator/framework/spinedit.h"
#include "calculator/framework/stringgrid.h"
#include "calculator/results.h"
#include "stats/format.h"
#include "stats/probabilities.h"
#include "stats/tables.h"

#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

TContingencyTable *ContingencyTable = nullptr;

TContingencyTable::TContingencyTable(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("ContingencyTable"));
    SetupDialogForm(this, QStringLiteral("Contingency table"), 437, 300);

    Bevel1 = BevelFrame(this, {8, 40, 425, 225});

    NbCols = SpinField(this, 2, 10, 2, {136, 8, 49, 22});
    NbRows = SpinField(this, 2, 10, 2, {308, 8, 49, 22});

    Grid = CountGrid(this, QAbstractItemView::ContiguousSelection,
                     [this](QChar &Key) { GridKeyPress(Key); });

    OKBtn = CreateOkButton(this, &TContingencyTable::OKBtnClick, {264, 270, 77, 27});
    CancelBtn = CreateCancelButton(this, {348, 270, 77, 27});

    Label1 = FittedLabel(this, QStringLiteral("Number of &columns:"), NbCols, {16, 12});
    Label2 = FittedLabel(this, QStringLiteral("Number of &rows:"), NbRows, {208, 12});

    SetTabOrder({NbCols, NbRows, Grid, OKBtn, CancelBtn});
    Grid->setFocus();

    ConnectGuarded(NbCols, &TSpinEdit::Change, this, &TContingencyTable::NbColsChange);
    ConnectGuarded(NbRows, &TSpinEdit::Change, this, &TContingencyTable::NbRowsChange);
    BindFormActivate(this, [this] { FormActivate(); });
}

void TContingencyTable::keyPressEvent(QKeyEvent *event)
{
    QChar key = TypedCharacter(event);
    if (!key.isNull()) {
        FormKeyPress(key);
        if (key.isNull()) {
            event->accept();
            return;
        }
    }
    QDialog::keyPressEvent(event);
}

// The grid is centred on the dialog's outer width and one pixel below the
// centre of the frame.
void TContingencyTable::NbColsChange()
{
    TContingencyTable *dialog = ContingencyTable;
    ClampSpinEdit(dialog->NbCols, 2, 10);
    const int c = dialog->NbCols->Value();
    TStringGrid *grid = dialog->Grid;
    grid->SetColCount(c);
    grid->resize(41 * c + 4, grid->height());
    grid->move((dialog->frameGeometry().width() - grid->width()) / 2, grid->y());
}

void TContingencyTable::NbRowsChange()
{
    TContingencyTable *dialog = ContingencyTable;
    ClampSpinEdit(dialog->NbRows, 2, 10);
    const int r = dialog->NbRows->Value();
    TStringGrid *grid = dialog->Grid;
    grid->SetRowCount(r);
    grid->resize(grid->width(), 21 * r + 3);
    const QFrame *bevel = dialog->Bevel1;
    grid->move(grid->x(), bevel->y() + (bevel->height() - grid->height()) / 2 + 1);
}

void TContingencyTable::FormActivate()
{
    NbRowsChange();
    NbColsChange();
}

void TContingencyTable::FormKeyPress(QChar &Key)
{
    KeepDigits(Key, false);
}

void TContingencyTable::GridKeyPress(QChar &Key)
{
    KeepDigits(Key, true);
}

void TContingencyTable::OKBtnClick()
{
    Grid->CommitEdit();
    const int c = NbCols->Value();
    const int r = NbRows->Value();

    AppendLine(QStringLiteral("  CONTINGENCY TABLE - TEST OF INDEPENDENCE\r\n"));
    const IndependenceTests tests = TestsOfIndependence(ReadCounts(*Grid, c, r), c, r);
    if (!DoubleNotEqual(tests.chiSquare, MissingValue)) {
        AppendLine(QStringLiteral("\r\n  *** Unable to compute Chi-square statistics ***"));
        return;
    }
    const double df = tests.degreesOfFreedom;
    const QString pLabel = PadLeftText(QStringLiteral("P = "), 20);
    AppendLine(QStringLiteral("\r\n           Chi-square = ") + FormatText(6, 3, tests.chiSquare)
               + QStringLiteral("   d.f. =") + FormatText(3, 0, df)
               + PadLeftText(QStringLiteral("P = "), 8)
               + FormatText(5, 4, ChiSquareProbability(df, tests.chiSquare)));
    AppendLine(QStringLiteral("     Yates correction = ") + FormatText(6, 3, tests.yates) + pLabel
               + FormatText(5, 4, ChiSquareProbability(df, tests.yates)));
    AppendLine(QStringLiteral("     Likelihood ratio = ") + FormatText(6, 3, tests.likelihoodRatio)
               + pLabel + FormatText(5, 4, ChiSquareProbability(df, tests.likelihoodRatio))
               + QStringLiteral("\r\n"));
}
