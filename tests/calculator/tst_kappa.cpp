// The inter-raters agreement table: nominal and ordinal agreement of two
// raters' classifications.
#include "support/calculatortest.h"
#include "support/tablegrid.h"

#include "calculator/dialogs/sckappa.h"
#include "calculator/framework/spinedit.h"
#include "calculator/framework/stringgrid.h"

#include <QApplication>
#include <QPushButton>
#include <QTest>

#include "../reference/table_reference.inc"

namespace {

const QString Title = QStringLiteral("INTER-RATERS TABLE - TEST OF AGREEMENT");

// The lines after the echoed table, with the seven values as given.
QStringList Block(const QString &percentage, const QString &kappa, const QString &pi,
                  const QString &nominal, const QString &r, const QString &rbar,
                  const QString &ordinal)
{
    return {"",
            " NOMINAL SCALE",
            "      Pct. of Agreement = " + percentage + "%",
            "",
            "          Cohen's Kappa = " + kappa,
            "             Scott's Pi = " + pi,
            "         Free marginals = " + nominal,
            "",
            " ORDINAL SCALE",
            "       Krippendorff's R = " + r,
            "   Krippendorff's r-bar = " + rbar,
            "         Free marginals = " + ordinal,
            ""};
}

bool Compute(CalculatorSession &session, int k, const QString &cells)
{
    return session.Choose<TKappaTable>("Contingencytable1", [&](TKappaTable *dialog) {
        TypeInto(dialog->NbCols, QString::number(k));
        TypeTable(dialog->Grid, cells);
        PressKey(Qt::Key_Return);
    });
}

}  // namespace

class TestKappa : public QObject {
    Q_OBJECT

private slots:
    void opensWithAnEmptyTwoByTwoGrid();
    void firstExample();
    void referenceTables_data();
    void referenceTables();
    void everyCellEmpty();
    void sizeFieldAndGrid();
    void enterInTheSizeField_data();
    void enterInTheSizeField();
};

void TestKappa::opensWithAnEmptyTwoByTwoGrid()
{
    CalculatorSession session;
    QVERIFY(session.Choose<TKappaTable>("Contingencytable1", [](TKappaTable *dialog) {
        QCOMPARE(KappaTable, dialog);
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Inter-raters agreement table"));
        QCOMPARE(dialog->size(), QSize(437, 296));
        QCOMPARE(QApplication::focusWidget(), dialog->OKBtn);
        QCOMPARE(dialog->NbCols->Text(), QStringLiteral("2"));
        QCOMPARE(dialog->Grid->ColCount(), 2);
        QCOMPARE(dialog->Grid->RowCount(), 2);
        QCOMPARE(dialog->Grid->geometry(),
                 QRect((dialog->frameGeometry().width() - 85) / 2, 131, 85, 45));
        PressKey(Qt::Key_Escape);
    }));
    QVERIFY(CalculatorSession::MemoLines().isEmpty());
    QVERIFY(!CalculatorSession::Modified());
}

// 20 5 / 10 15: N = 50, A = 35, row totals 25 25, column totals 30 20.
//   percentage 35/50 = 70; Pe = (25*30 + 25*20)/2500 = .5, kappa = (.7 - .5)/.5 = .4
//   pooled proportions .55 .45: Ppi = .505, pi = .195/.495 = .3939
//   free marginals (.7 - .5)/.5 = .4
//   ratings 0/1: D_o = 5 + 10 = 15; the 100 ratings hold 45 ones, sum of squared
//   deviations 45 - 45^2/100 = 24.75, R = 1 - 15/24.75 = .3939
//   r-bar = 1 - 15/(45 - 2*25*20/50) = 1 - 15/25 = .4
//   ordinal free marginals 1 - 7.5/(50 (4 - 1)/12) = .4
// Every value fills its field with 3 decimals and so shows 2.
void TestKappa::firstExample()
{
    CalculatorSession session;
    QVERIFY(Compute(session, 2, "20 5 / 10 15"));
    QCOMPARE(CalculatorSession::MemoLines(),
             QStringList({Title, "", "       20      5", "       10     15"})
                 + Block("  70", " .40", " .39", " .40", " .39", " .40", " .40"));
    QVERIFY(CalculatorSession::Modified());
    QVERIFY(session.Messages().isEmpty());
}

void TestKappa::referenceTables_data()
{
    QTest::addColumn<int>("index");
    for (int i = 0; i < int(std::size(kAgreementCases)); ++i)
        QTest::newRow(QByteArray(kAgreementCases[i].cells).left(40)) << i;
}

void TestKappa::referenceTables()
{
    QFETCH(int, index);
    const AgreementCase &c = kAgreementCases[index];
    CalculatorSession session;
    QVERIFY(Compute(session, c.k, c.cells));

    const QStringList lines = CalculatorSession::MemoLines();
    QCOMPARE(lines.size(), 2 + c.k + 13);
    QCOMPARE(lines.mid(0, 2), (QStringList{Title, ""}));
    QCOMPARE(lines.mid(2, c.k), EchoLines(c.cells));
    const QStringList block = lines.mid(2 + c.k);
    // The labels, each 26 characters; the value fields after them.
    const QString blank(4, QLatin1Char(' '));
    QStringList labels = block;
    for (int line : {2, 4, 5, 6, 9, 10, 11})
        labels[line] = block[line].left(26) + blank + block[line].mid(30);
    QCOMPARE(labels, Block(blank, blank, blank, blank, blank, blank, blank));

    const struct {
        int line;
        double expected;
    } fields[] = {{2, c.percentage}, {4, c.kappa},           {5, c.pi},
                  {6, c.freeMarginals}, {9, c.krippendorffR}, {10, c.krippendorffRbar},
                  {11, c.ordinalFreeMarginals}};
    for (const auto &field : fields) {
        const QString problem = CheckField(block[field.line], 26, 4, field.expected);
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
    }
    QVERIFY(session.Messages().isEmpty());
}

// N = 0: the table of zeros, then the invalid operation 0/0 of the chance
// agreement is reported and nothing more is appended.
void TestKappa::everyCellEmpty()
{
    CalculatorSession session;
    QVERIFY(session.Choose<TKappaTable>("Contingencytable1", [](TKappaTable *) {
        PressKey(Qt::Key_Return);
    }));
    QCOMPARE(CalculatorSession::MemoLines(),
             (QStringList{Title, "", "        0      0", "        0      0"}));
    QCOMPARE(session.Messages().size(), 1);
    QCOMPARE(session.Messages()[0].text, QStringLiteral("Invalid floating point operation."));
}

// The grid follows the size field only while it holds 2..10; leaving the
// field brings it back into 2..10.  The grid is 41k + 3 by 21k + 3 pixels,
// its own frame closed around the cells.
void TestKappa::sizeFieldAndGrid()
{
    CalculatorSession session;
    QVERIFY(session.Choose<TKappaTable>("Contingencytable1", [](TKappaTable *dialog) {
        TStringGrid *grid = dialog->Grid;
        const int outer = dialog->frameGeometry().width();
        const auto placed = [outer](int k) {
            const int width = 41 * k + 3, height = 21 * k + 3;
            return QRect((outer - width) / 2, 40 + (225 - height) / 2 + 1, width, height);
        };

        TypeInto(dialog->NbCols, "3");
        QCOMPARE(grid->geometry(), placed(3));
        QCOMPARE(grid->RowCount(), 3);
        TypeInto(dialog->NbCols, "11");
        QCOMPARE(grid->geometry(), placed(3));
        LeaveField(dialog->NbCols);
        QCOMPARE(dialog->NbCols->Text(), QStringLiteral("10"));
        QCOMPARE(grid->geometry(), QRect((outer - 413) / 2, 47, 413, 213));
        QCOMPARE(grid->ColCount(), 10);
        QCOMPARE(grid->RowCount(), 10);
        const QRect last = grid->visualRect(grid->model()->index(9, 9));
        QVERIFY(grid->viewport()->rect().contains(last));
        QCOMPARE(CheckGridFrame(grid), QString());

        TypeInto(dialog->NbCols, "1");
        QCOMPARE(grid->ColCount(), 10);
        LeaveField(dialog->NbCols);
        QCOMPARE(dialog->NbCols->Text(), QStringLiteral("2"));
        QCOMPARE(grid->geometry(), placed(2));
        QCOMPARE(CheckGridFrame(grid), QString());
        PressKey(Qt::Key_Escape);
    }));
}

void TestKappa::enterInTheSizeField_data()
{
    QTest::addColumn<QString>("size");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("1") << "1"
                       << QStringList({Title, "", "       20      5", "       10     15"})
                              + Block("  70", " .40", " .39", " .40", " .39", " .40", " .40");
    // The 2 x 2 counts in a 10 x 10 table: the margins and the ratings are
    // those of the first example, only the free-marginal coefficients see k:
    //   nominal (.7 - 1/10)/(1 - 1/10) = .667
    //   ordinal 1 - 7.5/(50 (100 - 1)/12) = 1 - 7.5/412.5 = .982
    QStringList tenByTen{Title, "", "       20      5" + QString(8 * 7, ' ').replace("       ", "      0"),
                         "       10     15" + QString(8 * 7, ' ').replace("       ", "      0")};
    for (int row = 3; row <= 10; ++row)
        tenByTen.append("  " + QString(10 * 7, ' ').replace("       ", "      0"));
    QTest::newRow("11") << "11"
                        << tenByTen + Block("  70", " .40", " .39", " .67", " .39", " .40", " .98");
}

// Enter pressed while the size field holds a size outside 2..10: the size
// is brought into 2..10 first, the grid follows, and the table of that size
// is computed.
void TestKappa::enterInTheSizeField()
{
    QFETCH(QString, size);
    QFETCH(QStringList, lines);
    CalculatorSession session;
    QVERIFY(session.Choose<TKappaTable>("Contingencytable1", [&](TKappaTable *dialog) {
        TypeTable(dialog->Grid, "20 5 / 10 15");
        TypeInto(dialog->NbCols, size);
        QCOMPARE(dialog->Grid->ColCount(), 2);
        PressKey(Qt::Key_Return);
    }));
    QCOMPARE(CalculatorSession::MemoLines(), lines);
    QVERIFY(session.Messages().isEmpty());
}

QTEST_MAIN(TestKappa)
#include "tst_kappa.moc"
