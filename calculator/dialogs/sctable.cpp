#include "calculator/dialogs/sctable.h"

#include "calculator/dialogkit.h"
#include "calculator/dialogs/countgrid.h"
#include "calculator/framework/application.h"
#include "calculator/framework/spinedit.h"
#include "calculator/framework/stringgrid.h"
#include "calculator/results.h"
#include "stats/format.h"
#include "stats/probabilities.h"

#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

#include <cmath>

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
    const CountTable t = ReadCounts(*Grid, c, r);
    const long long N = t[0][0];

    // Pearson's chi-square, the Yates-corrected chi-square (|o - e| less one
    // half in every cell, without a floor at 0) and the likelihood ratio G.
    double chi = 0, yates = 0, G = 0;
    if (N == 0)
        chi = MissingValue;
    for (int i = 1; i <= r; ++i)
        for (int j = 1; j <= c; ++j) {
            if (!DoubleNotEqual(chi, MissingValue))
                continue;
            const long double o = t[j][i];
            const double e = static_cast<double>(static_cast<long double>(t[j][0]) / N * t[0][i]);
            if (e == 0) {
                chi = MissingValue;
                continue;
            }
            if (o > 0)
                G = static_cast<double>(G + o * std::log(o / e));
            chi = static_cast<double>(chi + (o - e) * (o - e) / e);
            const long double h = o > e ? -0.5L : o < e ? 0.5L : 0.0L;
            yates = static_cast<double>(yates + (o - e + h) * (o - e + h) / e);
        }
    G = 2 * G;

    if (!DoubleNotEqual(chi, MissingValue)) {
        AppendLine(QStringLiteral("\r\n  *** Unable to compute Chi-square statistics ***"));
        return;
    }
    const double df = (c - 1) * (r - 1);
    const QString pLabel = PadLeftText(QStringLiteral("P = "), 20);
    AppendLine(QStringLiteral("\r\n           Chi-square = ") + FormatText(6, 3, chi)
               + QStringLiteral("   d.f. =") + FormatText(3, 0, df)
               + PadLeftText(QStringLiteral("P = "), 8)
               + FormatText(5, 4, ChiSquareProbability(df, chi)));
    AppendLine(QStringLiteral("     Yates correction = ") + FormatText(6, 3, yates) + pLabel
               + FormatText(5, 4, ChiSquareProbability(df, yates)));
    AppendLine(QStringLiteral("     Likelihood ratio = ") + FormatText(6, 3, G) + pLabel
               + FormatText(5, 4, ChiSquareProbability(df, G)) + QStringLiteral("\r\n"));
}
