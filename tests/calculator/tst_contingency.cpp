// The contingency table: chi-square test of independence of a typed table.
#include "support/calculatortest.h"
#include "support/tablegrid.h"

#include "calculator/dialogs/sctable.h"
#include "calculator/framework/spinedit.h"
#include "calculator/framework/stringgrid.h"

#include <QApplication>
#include <QClipboard>
#include <QTest>

#include "../reference/table_reference.inc"

namespace {

const QString Title = QStringLiteral("  CONTINGENCY TABLE - TEST OF INDEPENDENCE");
const QString Refusal = QStringLiteral("  *** Unable to compute Chi-square statistics ***");

// Types a size into a size field; the grid follows at once.
void SetSize(TSpinEdit *field, int size)
{
    TypeInto(field, QString::number(size));
}

// Opens the dialog, sizes it, types the table and presses Enter.
bool Compute(CalculatorSession &session, int columns, int rows, const QString &cells)
{
    return session.Choose<TContingencyTable>("Contingency1", [&](TContingencyTable *dialog) {
        SetSize(dialog->NbCols, columns);
        SetSize(dialog->NbRows, rows);
        TypeTable(dialog->Grid, cells);
        PressKey(Qt::Key_Return);
    });
}

}  // namespace

class TestContingency : public QObject {
    Q_OBJECT

private slots:
    void opensWithAnEmptyTwoByTwoGrid();
    void firstExample();
    void referenceTables_data();
    void referenceTables();
    void refusal_data();
    void refusal();
    void longCountsAreEchoedWhole();
    void rejectedCells_data();
    void rejectedCells();
    void gridTakesDigitsOnly();
    void sizeFieldsAndGrid();
    void sizeChangesKeepTheCells();
    void cancelAppendsNothing();
};

void TestContingency::opensWithAnEmptyTwoByTwoGrid()
{
    CalculatorSession session;
    QVERIFY(session.Choose<TContingencyTable>("Contingency1", [](TContingencyTable *dialog) {
        QCOMPARE(ContingencyTable, dialog);
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Contingency table"));
        QCOMPARE(dialog->size(), QSize(437, 300));
        QCOMPARE(QApplication::focusWidget(), dialog->Grid);
        QCOMPARE(dialog->NbCols->Text(), QStringLiteral("2"));
        QCOMPARE(dialog->NbRows->Text(), QStringLiteral("2"));
        TStringGrid *grid = dialog->Grid;
        QCOMPARE(grid->ColCount(), 2);
        QCOMPARE(grid->RowCount(), 2);
        QCOMPARE(grid->geometry(),
                 QRect((dialog->frameGeometry().width() - 86) / 2, 131, 86, 45));
        QVERIFY(grid->Cell(0, 0).isEmpty());
        PressKey(Qt::Key_Escape);
    }));
    QCOMPARE(ContingencyTable, nullptr);
}

// 10 20 / 30 40: expected counts 12 18 / 28 42, every |o - e| = 2.
//   chi-square = 4 (1/12 + 1/18 + 1/28 + 1/42) = 0.7937, P = 0.3730 (R: chisq.test)
//   corrected  = 2.25 (1/12 + 1/18 + 1/28 + 1/42) = 0.4464, P = 0.5040
//   G = 2 (10 ln(10/12) + 20 ln(20/18) + 30 ln(30/28) + 40 ln(40/42)) = 0.8043, P = 0.3698
void TestContingency::firstExample()
{
    CalculatorSession session;
    QVERIFY(Compute(session, 2, 2, "10 20 / 30 40"));
    QCOMPARE(CalculatorSession::MemoLines(),
             (QStringList{Title, "", "       10     20", "       30     40", "",
                          "           Chi-square =   .794   d.f. =  1    P =  .373",
                          "     Yates correction =   .446                P =  .504",
                          "     Likelihood ratio =   .804                P =  .370", ""}));
    QVERIFY(CalculatorSession::Modified());
    QVERIFY(session.Messages().isEmpty());
}

void TestContingency::referenceTables_data()
{
    QTest::addColumn<int>("index");
    for (int i = 0; i < int(std::size(kContingencyCases)); ++i)
        QTest::newRow(QByteArray(kContingencyCases[i].cells).left(40)) << i;
}

void TestContingency::referenceTables()
{
    QFETCH(int, index);
    const ContingencyCase &c = kContingencyCases[index];
    CalculatorSession session;
    QVERIFY(Compute(session, c.columns, c.rows, c.cells));

    const QStringList lines = CalculatorSession::MemoLines();
    QCOMPARE(lines.size(), 2 + c.rows + 5);
    QCOMPARE(lines.mid(0, 2), (QStringList{Title, ""}));
    QCOMPARE(lines.mid(2, c.rows), EchoLines(c.cells));
    const QStringList block = lines.mid(2 + c.rows);
    QCOMPARE(block[0], QString());
    QCOMPARE(block[4], QString());

    // Labels, then the statistic at 24, its P at 50 on every line.
    QCOMPARE(block[1].left(24), QStringLiteral("           Chi-square = "));
    QCOMPARE(block[1].mid(30, 9), QStringLiteral("   d.f. ="));
    QCOMPARE(block[1].mid(42, 8), QStringLiteral("    P = "));
    QCOMPARE(block[2].left(24), QStringLiteral("     Yates correction = "));
    QCOMPARE(block[3].left(24), QStringLiteral("     Likelihood ratio = "));
    for (int line : {2, 3})
        QCOMPARE(block[line].mid(30, 20), QString(16, QLatin1Char(' ')) + QStringLiteral("P = "));
    const struct {
        int line, from, width;
        double expected;
    } fields[] = {{1, 24, 6, c.chi},   {1, 39, 3, double(c.df)}, {1, 50, 5, c.pChi},
                  {2, 24, 6, c.yates}, {2, 50, 5, c.pYates},     {3, 24, 6, c.g},
                  {3, 50, 5, c.pG}};
    for (int line : {1, 2, 3})
        QCOMPARE(block[line].size(), 55);
    for (const auto &field : fields) {
        const QString problem = CheckField(block[field.line], field.from, field.width,
                                           field.expected);
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
    }
    QVERIFY(session.Messages().isEmpty());
}

void TestContingency::refusal_data()
{
    QTest::addColumn<int>("columns");
    QTest::addColumn<int>("rows");
    QTest::addColumn<QString>("cells");
    QTest::addColumn<QStringList>("echo");
    QTest::newRow("empty row") << 2 << 2 << "3 4 / _ _"
                               << QStringList{"        3      4", "        0      0"};
    QTest::newRow("zero column") << 3 << 2 << "3 0 5 / 4 0 6"
                                 << QStringList{"        3      0      5",
                                                "        4      0      6"};
    QTest::newRow("every cell empty") << 2 << 3 << "_ _ / _ _ / _ _"
                                      << QStringList{"        0      0", "        0      0",
                                                     "        0      0"};
}

// An expected count of 0: the table, then one refusal line and nothing
// more, not even an empty line.
void TestContingency::refusal()
{
    QFETCH(int, columns);
    QFETCH(int, rows);
    QFETCH(QString, cells);
    QFETCH(QStringList, echo);
    CalculatorSession session;
    QVERIFY(Compute(session, columns, rows, cells));
    QCOMPARE(CalculatorSession::MemoLines(), (QStringList{Title, ""} + echo + QStringList{"", Refusal}));
    QVERIFY(session.Messages().isEmpty());
}

// A count of 7 or more digits keeps every digit and a blank before it, so
// that the table shows the numbers that were analysed.
void TestContingency::longCountsAreEchoedWhole()
{
    CalculatorSession session;
    QVERIFY(Compute(session, 3, 2, "12345678 5 1234567 / 1 2 3"));
    const QStringList lines = CalculatorSession::MemoLines();
    QCOMPARE(lines.mid(2, 2),
             (QStringList{"   12345678      5 1234567", "        1      2      3"}));
    QCOMPARE(lines.size(), 9);
}

void TestContingency::rejectedCells_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("pasted");
    QTest::newRow("above 32 bits") << "2147483648" << false;
    QTest::newRow("negative") << "-5" << true;
    QTest::newRow("signed") << "+5" << true;
    QTest::newRow("blank first") << " 5" << true;
    QTest::newRow("decimal") << "1.5" << true;
    QTest::newRow("letter") << "5x" << true;
}

// A cell that is not an unsigned count within 32 bits is reported; the
// rows before it stay in the document.
void TestContingency::rejectedCells()
{
    QFETCH(QString, text);
    QFETCH(bool, pasted);
    CalculatorSession session;
    QVERIFY(session.Choose<TContingencyTable>("Contingency1", [&](TContingencyTable *dialog) {
        if (pasted) {
            QGuiApplication::clipboard()->setText(text);
            TypeTable(dialog->Grid, "1 2 / _");
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_V, Qt::ControlModifier);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QTest::keyClicks(QApplication::focusWidget(), "3");
        } else {
            TypeTable(dialog->Grid, "1 2 / " + text + " 3");
        }
        PressKey(Qt::Key_Return);
    }));
    QCOMPARE(CalculatorSession::MemoLines(), (QStringList{Title, "", "        1      2"}));
    QCOMPARE(session.Messages().size(), 1);
    QCOMPARE(session.Messages()[0].text, "'" + text + "' is not a valid integer value.");
    QCOMPARE(session.Messages()[0].caption, QStringLiteral("Vardelo 32 bit"));
}

// Cells take digits and Backspace; other characters neither reach a cell
// nor open its editor.  Enter while a cell is being edited computes with
// what was typed.
void TestContingency::gridTakesDigitsOnly()
{
    CalculatorSession session;
    QVERIFY(session.Choose<TContingencyTable>("Contingency1", [](TContingencyTable *dialog) {
        TStringGrid *grid = dialog->Grid;
        grid->setCurrentCell(0, 0);
        QTest::keyClick(grid, 'x');
        QCOMPARE(grid->indexWidget(grid->currentIndex()), nullptr);
        QTest::keyClick(grid, '1');
        QVERIFY(grid->indexWidget(grid->currentIndex()));
        for (char key : {'a', '2', '-', ' ', '.'})
            QTest::keyClick(QApplication::focusWidget(), key);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backspace);
        QTest::keyClicks(QApplication::focusWidget(), "7");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(grid->Cell(0, 0), QStringLiteral("17"));
        // Tab goes on from cell to cell, row by row.
        QTest::keyClicks(QApplication::focusWidget(), "3");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QTest::keyClicks(QApplication::focusWidget(), "5");
        QCOMPARE(grid->currentRow(), 1);
        QCOMPARE(grid->currentColumn(), 0);
        PressKey(Qt::Key_Return);
    }));
    QCOMPARE(CalculatorSession::MemoLines().mid(2, 2),
             (QStringList{"       17      3", "        5      0"}));
}

// The size fields stay within 2..10 at every change, and the grid follows:
// 41 pixels a column and 4 more, 21 a row and 3 more, centred on the
// dialog's outer width and one pixel below the centre of the frame, its
// own frame closed around the cells.
void TestContingency::sizeFieldsAndGrid()
{
    CalculatorSession session;
    QVERIFY(session.Choose<TContingencyTable>("Contingency1", [](TContingencyTable *dialog) {
        TStringGrid *grid = dialog->Grid;
        const int outer = dialog->frameGeometry().width();

        TypeInto(dialog->NbCols, "11");  // "1" becomes 2, then "21" becomes 10
        QCOMPARE(dialog->NbCols->Text(), QStringLiteral("10"));
        QCOMPARE(grid->ColCount(), 10);
        TypeInto(dialog->NbRows, "10");
        QCOMPARE(grid->RowCount(), 10);
        QCOMPARE(grid->geometry(), QRect((outer - 414) / 2, 47, 414, 213));
        // Every cell shows whole, without scrolling.
        const QRect last = grid->visualRect(grid->model()->index(9, 9));
        QVERIFY(grid->viewport()->rect().contains(last));
        QCOMPARE(CheckGridFrame(grid), QString());

        TypeInto(dialog->NbRows, "1");
        QCOMPARE(dialog->NbRows->Text(), QStringLiteral("2"));
        QCOMPARE(grid->geometry(), QRect((outer - 414) / 2, 131, 414, 45));
        TypeInto(dialog->NbCols, "5");
        QCOMPARE(grid->geometry(), QRect((outer - 209) / 2, 131, 209, 45));
        QCOMPARE(CheckGridFrame(grid), QString());

        // An empty field counts as 2 and stays empty.
        TypeInto(dialog->NbCols, "");
        QTest::keyClick(dialog->NbCols, Qt::Key_Backspace);
        QCOMPARE(dialog->NbCols->Text(), QString());
        QCOMPARE(grid->ColCount(), 2);
        TypeTable(grid, "20 5 / 10 15");
        PressKey(Qt::Key_Return);
    }));
    const QStringList lines = CalculatorSession::MemoLines();
    QCOMPARE(lines.mid(2, 2), (QStringList{"       20      5", "       10     15"}));
    QCOMPARE(lines[5].mid(30, 12), QStringLiteral("   d.f. =  1"));
}

// Typing 10 passes through 1, which the field turns into 2 at once: the
// cells of the columns cut off meanwhile come back with their counts.
void TestContingency::sizeChangesKeepTheCells()
{
    CalculatorSession session;
    QVERIFY(Compute(session, 3, 2, "1 2 3 / 4 5 6"));
    QVERIFY(session.Choose<TContingencyTable>("Contingency1", [](TContingencyTable *dialog) {
        SetSize(dialog->NbCols, 3);
        TypeTable(dialog->Grid, "1 2 3 / 4 5 6");
        SetSize(dialog->NbCols, 10);
        QCOMPARE(dialog->NbCols->Text(), QStringLiteral("10"));
        SetSize(dialog->NbCols, 3);
        PressKey(Qt::Key_Return);
    }));
    const QStringList lines = CalculatorSession::MemoLines();
    QCOMPARE(lines.size(), 18);
    QCOMPARE(lines.mid(9), lines.mid(0, 9));
}

void TestContingency::cancelAppendsNothing()
{
    CalculatorSession session;
    for (bool escape : {true, false})
        QVERIFY(session.Choose<TContingencyTable>("Contingency1", [escape](TContingencyTable *dialog) {
            TypeTable(dialog->Grid, "1 2 / 3 4");
            if (escape) {
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);  // closes the editor
                PressKey(Qt::Key_Escape);
            } else {
                ClickButton(dialog, QStringLiteral("Cancel"));
            }
        }));
    QVERIFY(CalculatorSession::MemoLines().isEmpty());
    QVERIFY(!CalculatorSession::Modified());
}

QTEST_MAIN(TestContingency)
#include "tst_contingency.moc"
