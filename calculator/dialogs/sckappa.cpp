#include "calculator/dialogs/sckappa.h"

#include "calculator/dialogkit.h"
#include "calculator/dialogs/countgrid.h"
#include "calculator/framework/application.h"
#include "calculator/framework/spinedit.h"
#include "calculator/framework/stringgrid.h"
#include "calculator/results.h"
#include "stats/fperror.h"
#include "stats/format.h"

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
    const CountTable t = ReadCounts(*Grid, k, k);
    const long long N = t[0][0];
    long long A = 0;
    for (int m = 1; m <= k; ++m)
        A += t[m][m];

    // Chance agreement from the margins: Cohen's from the product of the
    // two raters' proportions, Scott's from their pooled proportions.
    double PeSum = 0, Ppi = 0;
    if (N > 0)
        for (int m = 1; m <= k; ++m) {
            const long double R = t[0][m], C = t[m][0];
            const long double pooled = (R + C) / (2.0L * N);
            Ppi = static_cast<double>(Ppi + pooled * pooled);
            PeSum = static_cast<double>(PeSum + R / N * C);
        }

    // Ordinal sums.  Do, Q2, SR and SC score the categories 0 to k - 1,
    // U1 and U2 score them 1 to k.
    double Do = 0, Q2 = 0, SR = 0, SC = 0, U1 = 0, U2 = 0;
    for (int i = 1; i <= k; ++i)
        for (int j = 1; j <= k; ++j)
            if (i != j)
                Do = Do + static_cast<double>((i - j) * (i - j) * t[j][i]);
    for (int m = 1; m <= k; ++m) {
        const long long score = m - 1, R = t[0][m], C = t[m][0];
        Q2 = Q2 + static_cast<double>(score * score * R) + static_cast<double>(score * score * C);
        SR = SR + static_cast<double>(score * R);
        SC = SC + static_cast<double>(score * C);
        U1 = static_cast<double>(U1 + static_cast<long double>(N) / k * m);
        U2 = static_cast<double>(U2 + static_cast<long double>(N) / k * (m * m));
    }

    double Fo = MissingValue, KrippendorffR = MissingValue, KrippendorffRbar = MissingValue;
    if (Do > 2 && Q2 > 2) {
        const long double S = static_cast<long double>(SR) + SC;
        Fo = static_cast<double>(1 - Divide(Do / 2.0L, U2 - static_cast<long double>(U1) * U1 / N));
        KrippendorffR = static_cast<double>(1 - Divide(Do, Q2 - S * S * Divide(1, 2.0L * N)));
        KrippendorffRbar = static_cast<double>(1 - Divide(Do, Q2 - Divide(2, N) * SR * SC));
    }

    // Every cell empty: 0 / 0, an invalid operation.
    const double Pe = static_cast<double>(Divide(PeSum, N));
    double Kappa = MissingValue, Pi = MissingValue, Fn = MissingValue;
    if (Pe != 1) {
        const long double Po = static_cast<long double>(A) / N;
        Kappa = static_cast<double>(Divide(Po - Pe, 1 - static_cast<long double>(Pe)));
        Pi = static_cast<double>(Divide(Po - Ppi, 1 - static_cast<long double>(Ppi)));
        Fn = static_cast<double>((Po - 1.0L / k) / (1 - 1.0L / k));
    }

    AppendLine(QStringLiteral("\r\n NOMINAL SCALE"));
    AppendLine(QStringLiteral("      Pct. of Agreement = ")
               + FormatText(4, 1, static_cast<double>(static_cast<long double>(A) / N * 100))
               + QStringLiteral("%\r\n"));
    AppendLine(QStringLiteral("          Cohen's Kappa = ") + FormatText(4, 3, Kappa));
    AppendLine(QStringLiteral("             Scott's Pi = ") + FormatText(4, 3, Pi));
    AppendLine(QStringLiteral("         Free marginals = ") + FormatText(4, 3, Fn));
    AppendLine(QStringLiteral("\r\n ORDINAL SCALE"));
    AppendLine(QStringLiteral("       Krippendorff's R = ") + FormatText(4, 3, KrippendorffR));
    AppendLine(QStringLiteral("   Krippendorff's r-bar = ") + FormatText(4, 3, KrippendorffRbar));
    AppendLine(QStringLiteral("         Free marginals = ") + FormatText(4, 3, Fo));
    AppendLine(QString());
}
