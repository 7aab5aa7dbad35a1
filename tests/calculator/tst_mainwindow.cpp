// The main window: its menu bar, the results document and the routines
// that every dialog shares.
#include "support/calculatortest.h"

#include "calculator/dialogkit.h"
#include "calculator/framework/convert.h"
#include "calculator/framework/spinedit.h"
#include "calculator/results.h"
#include "calculator/vardelo2.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPointer>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

// A dialog with a module variable, as the calculator's dialogs have.
class TProbe : public QDialog {
    Q_OBJECT
public:
    explicit TProbe(QWidget *parent) : QDialog(parent) { setFixedSize(size); }
    static inline QSize size{200, 100};
};
TProbe *Probe = nullptr;

// A dialog whose creation fails.
class TBroken : public QDialog {
    Q_OBJECT
public:
    explicit TBroken(QWidget *parent) : QDialog(parent)
    {
        throw EConvertError("'x' is not a valid floating point value");
    }
};
TBroken *Broken = nullptr;

class TestMainWindow : public QObject {
    Q_OBJECT

private slots:
    void startsWithAnEmptyDocument();
    void menuBarHoldsEveryCommand();
    void shortcutsWinInsideTheDocument();
    void appendLineSplitsAtLineBreaks();
    void appendLineAfterTextTypedByTheUser();
    void probabilityLineLayout();
    void modifiedFlag();
    void dialogsOpenCentredOverTheMainWindow();
    void launchedDialogsLiveOnlyWhileShown();
    void aDialogThatCannotBeCreatedIsReported();
    void trimSpaces();
    void clampSpinEdit();
    void closingTheWindow();
};

void TestMainWindow::startsWithAnEmptyDocument()
{
    CalculatorSession session;
    QCOMPARE(VardeloForm->windowTitle(), QStringLiteral("Vardelo probability calculator"));
    QCOMPARE(ApplicationTitle(), QStringLiteral("Vardelo 32 bit"));
    QPlainTextEdit *memo = VardeloForm->Memo1;
    QCOMPARE(VardeloForm->centralWidget(), memo);
    QCOMPARE(memo->size(), QSize(656, 381));
    QVERIFY(memo->toPlainText().isEmpty());
    QVERIFY(!CalculatorSession::Modified());
    QVERIFY(!memo->isReadOnly());
    QCOMPARE(memo->lineWrapMode(), QPlainTextEdit::NoWrap);
    QCOMPARE(memo->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QCOMPARE(memo->horizontalScrollBarPolicy(), Qt::ScrollBarAsNeeded);
    QCOMPARE(memo->font().pixelSize(), 13);
    QCOMPARE(memo->font().family(), QStringLiteral("Courier New"));
    QVERIFY(QFontInfo(memo->font()).fixedPitch());

    // A long line stays one line; the view follows the caret sideways.
    AppendLine(QString(400, QLatin1Char('x')));
    QCOMPARE(memo->document()->lineCount(), 2);  // the line and the empty last one
    QTextCursor cursor = memo->textCursor();
    cursor.setPosition(399);
    memo->setTextCursor(cursor);
    QVERIFY(memo->horizontalScrollBar()->value() > 0);
}

void TestMainWindow::menuBarHoldsEveryCommand()
{
    CalculatorSession session;
    struct Item {
        const char *name;
        const char *caption;
        QKeySequence shortcut;
    };
    const QList<QPair<QString, QList<Item>>> expected = {
        {"&File",
         {{"New1", "&New", {}},
          {"Open1", "&Open...", QKeySequence("Ctrl+O")},
          {"Save1", "&Save", QKeySequence("Ctrl+S")},
          {"Saveas1", "Save &as...", {}},
          {"N1", "-", {}},
          {"Print1", "&Print...", QKeySequence("Ctrl+P")},
          {"Printersetup1", "Printer &Setup...", {}},
          {"N2", "-", {}},
          {"File1", "&Quit", QKeySequence("Ctrl+Q")}}},
        {"&Edit",
         {{"Cut1", "Cu&t", QKeySequence("Ctrl+X")},
          {"Copy1", "&Copy", QKeySequence("Ctrl+C")},
          {"Paste1", "&Paste", QKeySequence("Ctrl+V")},
          {"Erase1", "&Erase", QKeySequence("Ctrl+Del")},
          {"N3", "-", {}},
          {"Selectall1", "Select &All...", QKeySequence("Ctrl+A")}}},
        {"&Probability",
         {{"Binomial1", "&Binomial...", {}},
          {"Poisson1", "&Poisson...", {}},
          {"Normal1", "&Normal...", {}},
          {"Chisquare1", "&Chi-square...", {}},
          {"ttest1", "&T Value...", {}},
          {"Ftest1", "&F Value...", {}},
          {"rvalue1", "&R Value...", {}},
          {"Comparisonofmeans1sample1", "Comparison of Means - &1 sample...", {}},
          {"Comparisonbetweenmeans1", "Comparison of Means - &2 samples...", {}},
          {"Comparisonbetweencorrelations1", "C&omparison of Correlations...", {}}}},
        {"&Confidence interval",
         {{"Proportion1", "&Proportion...", {}},
          {"Man1", "&Mean...", {}},
          {"Pearsonsr1", "Pearson's &r...", {}}}},
        {"&Table",
         {{"Contingency1", "&Contingency...", {}},
          {"Contingencytable1", "&Inter-raters...", {}}}},
        {"&Help", {{"About1", "&About", {}}}},
    };

    const QList<QAction *> menus = VardeloForm->menuBar()->actions();
    QCOMPARE(menus.size(), expected.size());
    for (int m = 0; m < menus.size(); ++m) {
        QCOMPARE(menus[m]->text(), expected[m].first);
        const QList<QAction *> items = menus[m]->menu()->actions();
        QCOMPARE(items.size(), expected[m].second.size());
        for (int i = 0; i < items.size(); ++i) {
            const Item &want = expected[m].second[i];
            QAction *item = items[i];
            if (QByteArray(want.caption) == "-") {
                QVERIFY(item->isSeparator());
            } else {
                QCOMPARE(item->objectName(), QString::fromLatin1(want.name));
                QCOMPARE(item->text(), QString::fromLatin1(want.caption));
                QCOMPARE(item->shortcut(), want.shortcut);
                QCOMPARE(CalculatorSession::MenuItem(want.name), item);
            }
            QVERIFY(item->isEnabled());
            QVERIFY(!item->isCheckable());
        }
    }
}

void TestMainWindow::shortcutsWinInsideTheDocument()
{
    CalculatorSession session;
    // Only which command gets the key is tested here: the commands
    // themselves (dialogs, the clipboard, closing) are kept out.
    for (QAction *item : VardeloForm->findChildren<QAction *>())
        QObject::disconnect(item, &QAction::triggered, VardeloForm, nullptr);
    QPlainTextEdit *memo = VardeloForm->Memo1;
    memo->setFocus();
    QTest::keyClicks(memo, "two words");
    QTextCursor cursor = memo->textCursor();
    cursor.setPosition(0);
    memo->setTextCursor(cursor);

    // Ctrl+Del would delete a word, Ctrl+A select all, Ctrl+C copy: the
    // menu's commands get the keys instead.
    const struct {
        const char *item;
        Qt::Key key;
    } shortcuts[] = {{"Erase1", Qt::Key_Delete}, {"Selectall1", Qt::Key_A},
                     {"Copy1", Qt::Key_C},       {"Cut1", Qt::Key_X},
                     {"Paste1", Qt::Key_V},      {"Open1", Qt::Key_O},
                     {"Save1", Qt::Key_S},       {"Print1", Qt::Key_P},
                     {"File1", Qt::Key_Q}};
    for (const auto &shortcut : shortcuts) {
        QSignalSpy triggered(CalculatorSession::MenuItem(shortcut.item), &QAction::triggered);
        QTest::keyClick(memo, shortcut.key, Qt::ControlModifier);
        QVERIFY2(triggered.count() == 1, shortcut.item);
    }
    QCOMPARE(memo->toPlainText(), QStringLiteral("two words"));
    QVERIFY(!memo->textCursor().hasSelection());

    // Other keys still edit.
    QTest::keyClick(memo, Qt::Key_Delete);
    QCOMPARE(memo->toPlainText(), QStringLiteral("wo words"));
}

void TestMainWindow::appendLineSplitsAtLineBreaks()
{
    CalculatorSession session;
    QPlainTextEdit *memo = VardeloForm->Memo1;

    AppendLine("TITLE (x = 1)\r\n");
    QCOMPARE(memo->toPlainText(), QStringLiteral("TITLE (x = 1)\n\n"));
    AppendLine("\r\nword");
    QCOMPARE(memo->toPlainText(), QStringLiteral("TITLE (x = 1)\n\n\nword\n"));
    AppendLine("");
    AppendLine("a\r\nb");
    QCOMPARE(CalculatorSession::MemoLines(),
             (QStringList{"TITLE (x = 1)", "", "", "word", "", "a", "b"}));
    // The caret follows the appended lines.
    QCOMPARE(memo->textCursor().position(), memo->document()->characterCount() - 1);
}

void TestMainWindow::appendLineAfterTextTypedByTheUser()
{
    CalculatorSession session;
    QPlainTextEdit *memo = VardeloForm->Memo1;
    memo->setFocus();
    QTest::keyClicks(memo, "my note");
    // The typed line gets its line break before the appended line.
    AppendLine("RESULT\r\n");
    QCOMPARE(memo->toPlainText(), QStringLiteral("my note\nRESULT\n\n"));
    AppendLine("NEXT");
    QCOMPARE(CalculatorSession::MemoLines(), (QStringList{"my note", "RESULT", "", "NEXT"}));
}

void TestMainWindow::probabilityLineLayout()
{
    CalculatorSession session;
    AppendProbabilityLine("(2-tailed)", 0.0625);
    AppendProbabilityLine("(1-tailed)\r\n", 1.0);
    AppendProbabilityLine("( >= 3 )", 0.0);
    // 11 blanks, "P = ", the 6-character field " .0625", 2 blanks, label.
    const QString first = QStringLiteral("           P =  .0625  (2-tailed)");
    QCOMPARE(first.size(), 33);
    QCOMPARE(CalculatorSession::MemoLines(),
             (QStringList{first, "           P =  1.000  (1-tailed)", "",
                          "           P =  .0000  ( >= 3 )"}));

    // The number follows the locale's decimal separator.
    VardeloForm->Memo1->clear();
    {
        const LocaleGuard comma(CommaLocale());
        AppendProbabilityLine("(2-tailed)", 0.0625);
    }
    QCOMPARE(CalculatorSession::MemoLines(),
             QStringList{"           P =  ,0625  (2-tailed)"});
}

void TestMainWindow::modifiedFlag()
{
    CalculatorSession session;
    QTextDocument *document = VardeloForm->Memo1->document();
    AppendLine("A");
    QVERIFY(document->isModified());

    // An append always marks the document, also right after it was marked
    // clean (a new document or one just loaded).
    document->setModified(false);
    AppendProbabilityLine("(1-tailed)", 0.5);
    QVERIFY(document->isModified());

    // So does any edit of the user's.
    document->setModified(false);
    VardeloForm->Memo1->setFocus();
    QTest::keyClick(VardeloForm->Memo1, Qt::Key_Backspace);
    QVERIFY(document->isModified());
}

void TestMainWindow::dialogsOpenCentredOverTheMainWindow()
{
    CalculatorSession session;
    VardeloForm->move(40, 30);
    QTest::qWait(0);
    const QRect main = VardeloForm->frameGeometry();
    const int frameWidth = main.width() - VardeloForm->width();
    const int frameHeight = main.height() - VardeloForm->height();

    // 5 pixels wider and 5 lower than the main window: it sticks out 2
    // pixels on the left, 3 on the right (-5 div 2 is -2); the other way
    // round it stands 2 pixels inside.
    for (const int difference : {5, -5}) {
        QDialog dialog(VardeloForm);
        dialog.setFixedSize(main.width() - frameWidth + difference,
                            main.height() - frameHeight - difference);
        QRect shown;
        QVERIFY(CalculatorSession::WithModalDialog([&] { ShowDialogCentered(dialog); },
                                                   [&](QDialog *open) {
                                                       shown = open->frameGeometry();
                                                       PressKey(Qt::Key_Escape);
                                                   }));
        QCOMPARE(shown.width(), main.width() + difference);
        QCOMPARE(shown.height(), main.height() - difference);
        QCOMPARE(shown.left(), main.left() - difference / 2);
        QCOMPARE(shown.top(), main.top() + difference / 2);
    }
    QCOMPARE(-5 / 2, -2);
}

void TestMainWindow::launchedDialogsLiveOnlyWhileShown()
{
    CalculatorSession session;
    AppendLine("kept");
    VardeloForm->Memo1->document()->setModified(false);

    QPointer<QDialog> shown;
    QVERIFY(CalculatorSession::WithModalDialog([] { LaunchDialog(Probe); },
                                               [&](QDialog *dialog) {
                                                   shown = dialog;
                                                   QCOMPARE(dialog, Probe);
                                                   QVERIFY(dialog->isModal());
                                                   PressKey(Qt::Key_Escape);
                                               }));
    QVERIFY(shown.isNull());
    QCOMPARE(Probe, nullptr);

    // The same through a menu command, as the calculator's launchers are.
    QAction command(VardeloForm);
    command.setObjectName(QStringLiteral("Probe1"));
    QObject::connect(&command, &QAction::triggered, [] { LaunchDialog(Probe); });
    QVERIFY(session.Choose<TProbe>("Probe1", [&](TProbe *dialog) {
        shown = dialog;
        QCOMPARE(dialog, Probe);
        PressKey(Qt::Key_Escape);
    }));
    QVERIFY(shown.isNull());
    QCOMPARE(Probe, nullptr);

    QCOMPARE(CalculatorSession::MemoLines(), QStringList{"kept"});
    QVERIFY(!CalculatorSession::Modified());
    QVERIFY(session.Messages().isEmpty());
}

void TestMainWindow::aDialogThatCannotBeCreatedIsReported()
{
    CalculatorSession session;
    LaunchDialog(Broken);
    QCOMPARE(Broken, nullptr);
    QCOMPARE(session.Messages().size(), 1);
    QCOMPARE(session.Messages()[0].caption, QStringLiteral("Vardelo 32 bit"));
    QCOMPARE(session.Messages()[0].text,
             QStringLiteral("'x' is not a valid floating point value."));
    QCOMPARE(session.Messages()[0].icon, QMessageBox::Critical);
    QVERIFY(VardeloForm->isVisible());
}

void TestMainWindow::trimSpaces()
{
    QCOMPARE(TrimSpaces("  1.25 "), QStringLiteral("1.25"));
    QCOMPARE(TrimSpaces(""), QString());
    QCOMPARE(TrimSpaces("    "), QString());
    QCOMPARE(TrimSpaces("\t1.25\t "), QStringLiteral("\t1.25\t"));
    QCOMPARE(TrimSpaces("a b"), QStringLiteral("a b"));
    QString s = QStringLiteral(" -.250 ");
    TrimSpacesInPlace(s);
    QCOMPARE(s, QStringLiteral("-.250"));
}

void TestMainWindow::clampSpinEdit()
{
    TSpinEdit spin;
    spin.SetMinValue(2);
    spin.SetMaxValue(10);
    for (const auto &[typed, expected] :
         {std::pair{"1", "2"}, {"12", "10"}, {"5", "5"}, {"2", "2"}, {"10", "10"}}) {
        spin.SetText(typed);
        ClampSpinEdit(&spin, 2, 10);
        QCOMPARE(spin.Text(), QString::fromLatin1(expected));
    }
    // A text that is no integer reads as the minimum, which is in range.
    spin.SetText("");
    ClampSpinEdit(&spin, 2, 10);
    QCOMPARE(spin.Text(), QString());
}

void TestMainWindow::closingTheWindow()
{
    CalculatorSession session;
    QVERIFY(VardeloForm->close());
    QVERIFY(!VardeloForm->isVisible());
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
