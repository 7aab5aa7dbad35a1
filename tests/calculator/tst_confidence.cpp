// The confidence intervals of a proportion, a mean and a correlation.
//
// Expected limits: the proportion's from R's binom.test (Clopper-Pearson),
// the mean's from qt, the correlation's from Fisher's z with its series
// correction evaluated in R; tests/reference/make_dialog_reference.R prints
// them all.
#include "support/calculatortest.h"

#include "calculator/dialogs/sccimea.h"
#include "calculator/dialogs/sccipro.h"
#include "calculator/dialogs/scicor.h"
#include "calculator/framework/spinedit.h"
#include "calculator/numedit.h"

#include <QApplication>
#include <QPushButton>
#include <QTest>

namespace {

const QString NoSuccess =
    QStringLiteral("Illegal value - number of success must be greater than zero");

QStringList ProportionBlock(int x, int n, const QString &interval)
{
    return {QStringLiteral("CONFIDENCE INTERVAL - PROPORTION  (x = %1, n = %2)").arg(x).arg(n), "",
            interval, ""};
}

}  // namespace

class TestConfidence : public QObject {
    Q_OBJECT

private slots:
    void proportionDefaults();
    void proportionHalf();
    void noSuccessIsRefused();
    void successesOutsideTheirRangeOnEnter();
    void proportionLevelOutsideItsRange();
    void trialChangeLowersTheSuccesses();
    void helpDoesNothing();
    void meanDefaults();
    void meanWithoutSpread();
    void levelClampedTo99999();
    void commaLocale();
    void correlationDefaults();
    void correlationIntervals_data();
    void correlationIntervals();
    void correlationOfMinusOne();
    void correlationAccelerators();
    void levelEchoedAsTyped();
    void blocksFollowEachOther();
};

void TestConfidence::proportionDefaults()
{
    CalculatorSession session;
    QVERIFY(session.Choose<TScCIProportion>("Proportion1", [](TScCIProportion *dialog) {
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Binomial distribution"));
        QCOMPARE(dialog->size(), QSize(317, 128));
        QVERIFY(dialog->OKBtn->hasFocus());
        // From the first activation on, the successes stay below the trials.
        QCOMPARE(dialog->Success->MaxValue(), 9);
        PressKey(Qt::Key_Return);
    }));
    // binom.test(1, 10): 0.0025286 to 0.44502; "[" in column 26.
    QCOMPARE(CalculatorSession::MemoLines(),
             ProportionBlock(1, 10, "             95% C.I. =  [.003  To  .445]"));
    QVERIFY(session.Messages().isEmpty());
}

void TestConfidence::proportionHalf()
{
    CalculatorSession session;
    QVERIFY(session.Choose<TScCIProportion>("Proportion1", [](TScCIProportion *dialog) {
        TypeInto(dialog->Success, "5");
        LeaveField(dialog->Success);
        ClickButton(dialog, "OK");
    }));
    // binom.test(5, 10): 0.18709 to 0.81291.
    QCOMPARE(CalculatorSession::MemoLines(),
             ProportionBlock(5, 10, "             95% C.I. =  [.187  To  .813]"));
}

void TestConfidence::noSuccessIsRefused()
{
    CalculatorSession session;
    QVERIFY(session.Choose<TScCIProportion>("Proportion1", [](TScCIProportion *dialog) {
        TypeInto(dialog->Success, "0");
        PressKey(Qt::Key_Return);
    }));
    QVERIFY(CalculatorSession::MemoLines().isEmpty());
    QVERIFY(!CalculatorSession::Modified());
    QCOMPARE(session.Messages().size(), 1);
    QCOMPARE(session.Messages()[0].caption, QStringLiteral("Error"));
    QCOMPARE(session.Messages()[0].text, NoSuccess);
    QCOMPARE(session.Messages()[0].icon, QMessageBox::Critical);

    // A level that is not a number is reported first.
    session.ClearMessages();
    QVERIFY(session.Choose<TScCIProportion>("Proportion1", [](TScCIProportion *dialog) {
        TypeInto(dialog->Success, "0");
        LeaveField(dialog->Success);
        TypeInto(dialog->ConfidenceWidth, "");
        QTest::keyClick(dialog->ConfidenceWidth, Qt::Key_Backspace);
        PressKey(Qt::Key_Return);
    }));
    QVERIFY(CalculatorSession::MemoLines().isEmpty());
    QCOMPARE(session.Messages().size(), 1);
    QCOMPARE(session.Messages()[0].text, QStringLiteral("'' is not a valid floating point value."));
}

void TestConfidence::successesOutsideTheirRangeOnEnter()
{
    CalculatorSession session;
    // Enter inside the field computes before the field clamps its value;
    // the count is taken into 0 .. n - 1 all the same.
    QVERIFY(session.Choose<TScCIProportion>("Proportion1", [](TScCIProportion *dialog) {
        TypeInto(dialog->Success, "12");
        PressKey(Qt::Key_Return);
    }));
    // binom.test(9, 10): 0.55498 to 0.99747.
    QCOMPARE(CalculatorSession::MemoLines(),
             ProportionBlock(9, 10, "             95% C.I. =  [.555  To  .997]"));

    CalculatorSession::ClearDocument();
    QVERIFY(session.Choose<TScCIProportion>("Proportion1", [](TScCIProportion *dialog) {
        TypeInto(dialog->Success, "-3");
        PressKey(Qt::Key_Return);
    }));
    QVERIFY(CalculatorSession::MemoLines().isEmpty());
    QCOMPARE(session.Messages().size(), 1);
    QCOMPARE(session.Messages()[0].text, NoSuccess);
}

void TestConfidence::proportionLevelOutsideItsRange()
{
    CalculatorSession session;
    // Enter inside the level field skips its range check.  No tail area
    // exists beyond 100 percent: the error follows the title.
    for (const char *level : {"150", "250"}) {
        CalculatorSession::ClearDocument();
        session.ClearMessages();
        QVERIFY(session.Choose<TScCIProportion>("Proportion1", [&](TScCIProportion *dialog) {
            TypeInto(dialog->ConfidenceWidth, level);
            PressKey(Qt::Key_Return);
        }));
        QCOMPARE(CalculatorSession::MemoLines(),
                 QStringList{"CONFIDENCE INTERVAL - PROPORTION  (x = 1, n = 10)"});
        QCOMPARE(session.Messages().size(), 1);
        QCOMPARE(session.Messages()[0].text, QStringLiteral("Invalid floating point operation."));
    }
    // At 100 percent itself the upper limit divides by zero.
    CalculatorSession::ClearDocument();
    session.ClearMessages();
    QVERIFY(session.Choose<TScCIProportion>("Proportion1", [](TScCIProportion *dialog) {
        TypeInto(dialog->ConfidenceWidth, "100");
        PressKey(Qt::Key_Return);
    }));
    QCOMPARE(CalculatorSession::MemoLines().size(), 1);
    QCOMPARE(session.Messages().size(), 1);
    QCOMPARE(session.Messages()[0].text, QStringLiteral("Floating point division by zero."));
}

void TestConfidence::trialChangeLowersTheSuccesses()
{
    CalculatorSession session;
    QVERIFY(session.Choose<TScCIProportion>("Proportion1", [](TScCIProportion *dialog) {
        TypeInto(dialog->Success, "7");
        LeaveField(dialog->Success);
        TypeInto(dialog->Trial, "5");
        QCOMPARE(dialog->Success->Value(), 4);
        QCOMPARE(dialog->Success->MaxValue(), 4);
        // Raising the sample size again leaves the successes alone.
        for (int i = 0; i < 5; ++i)
            QTest::keyClick(dialog->Trial, Qt::Key_Up);
        QCOMPARE(dialog->Trial->Value(), 10);
        QCOMPARE(dialog->Success->Value(), 4);
        QCOMPARE(dialog->Success->MaxValue(), 9);
        // An empty sample size counts as 2.
        QTest::keyClick(dialog->Trial, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(dialog->Trial, Qt::Key_Backspace);
        QCOMPARE(dialog->Trial->Text(), QString());
        QCOMPARE(dialog->Success->Value(), 1);
        // No sample size at all: no successes either.
        TypeInto(dialog->Trial, "0");
        QCOMPARE(dialog->Success->Text(), QStringLiteral("0"));
        TypeInto(dialog->Trial, "20");
        TypeInto(dialog->Success, "1");
        PressKey(Qt::Key_Return);
    }));
    // binom.test(1, 20): 0.0012651 to 0.24873.
    QCOMPARE(CalculatorSession::MemoLines(),
             ProportionBlock(1, 20, "             95% C.I. =  [.001  To  .249]"));
}

void TestConfidence::helpDoesNothing()
{
    CalculatorSession session;
    QVERIFY(session.Choose<TScCIProportion>("Proportion1", [](TScCIProportion *dialog) {
        QCOMPARE(dialog->HelpBtn->text(), QStringLiteral("&Help"));
        ClickButton(dialog, "&Help");
        QVERIFY(dialog->isVisible());
        ClickButton(dialog, "Cancel");
    }));
    QVERIFY(CalculatorSession::MemoLines().isEmpty());
    QVERIFY(session.Messages().isEmpty());
}

void TestConfidence::meanDefaults()
{
    CalculatorSession session;
    QVERIFY(session.Choose<TScCIMean>("Man1", [](TScCIMean *dialog) {
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Confidence interval of the mean"));
        QCOMPARE(dialog->size(), QSize(300, 153));
        PressKey(Qt::Key_Return);
    }));
    // qt(0.975, 9) = 2.26216, h = 2.26216 * 0.5 / sqrt(10) = 0.35768.
    QCOMPARE(CalculatorSession::MemoLines(),
             (QStringList{"", "  CONFIDENCE INTERVAL - MEAN  (m = .500, s.d. = .500, n = 10)", "",
                          "             95% C.I. =  [.142  To  .858]"}));
}

void TestConfidence::meanWithoutSpread()
{
    CalculatorSession session;
    QVERIFY(session.Choose<TScCIMean>("Man1", [](TScCIMean *dialog) {
        TypeInto(dialog->Mean, "-2.5");
        TypeInto(dialog->StdDev, "0");
        PressKey(Qt::Key_Return);
    }));
    QCOMPARE(CalculatorSession::MemoLines(),
             (QStringList{"", "  CONFIDENCE INTERVAL - MEAN  (m = -2.500, s.d. = .000, n = 10)",
                          "", "             95% C.I. =  [-2.500  To  -2.500]"}));
}

void TestConfidence::levelClampedTo99999()
{
    CalculatorSession session;
    QVERIFY(session.Choose<TScCIMean>("Man1", [](TScCIMean *dialog) {
        TypeInto(dialog->ConfidenceWidth, "100");
        LeaveField(dialog->ConfidenceWidth);
        QCOMPARE(dialog->ConfidenceWidth->text(), QStringLiteral("99.999"));
        ClickButton(dialog, "OK");
    }));
    QCOMPARE(session.Beeps(), 1);
    // qt(0.999995, 9) = 8.82748, h = 1.39575.
    QCOMPARE(CalculatorSession::MemoLines().last(),
             QStringLiteral("         99.999% C.I. =  [-.896  To  1.896]"));
}

void TestConfidence::commaLocale()
{
    const LocaleGuard comma(CommaLocale());
    CalculatorSession session;
    QVERIFY(session.Choose<TScCIMean>("Man1", [](TScCIMean *dialog) {
        TypeInto(dialog->ConfidenceWidth, "95.0");
        PressKey(Qt::Key_Return);
    }));
    QCOMPARE(CalculatorSession::MemoLines(),
             (QStringList{"", "  CONFIDENCE INTERVAL - MEAN  (m = ,500, s.d. = ,500, n = 10)", "",
                          "           95,0% C.I. =  [,142  To  ,858]"}));
    QVERIFY(session.Messages().isEmpty());
}

void TestConfidence::correlationDefaults()
{
    CalculatorSession session;
    QVERIFY(session.Choose<TScCiCorrelation>("Pearsonsr1", [](TScCiCorrelation *dialog) {
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Confidence Intervals for correlation"));
        QCOMPARE(dialog->size(), QSize(297, 124));
        PressKey(Qt::Key_Return);
    }));
    // "[" in column 20.
    QCOMPARE(CalculatorSession::MemoLines(),
             (QStringList{"", "  CONFIDENCE INTERVAL - CORRELATION  (r = 0.5, n = 10)", "",
                          "       95% C.I. =  [-.18118  To  .83936]"}));
}

void TestConfidence::correlationIntervals_data()
{
    QTest::addColumn<QString>("r");
    QTest::addColumn<QString>("n");
    QTest::addColumn<QString>("interval");
    QTest::newRow("r -0.5") << "-0.5" << "10" << "[-.83936  To  .18118]";
    QTest::newRow("r 0.5, n 30") << "0.5" << "30" << "[.16676  To  .72225]";
    QTest::newRow("r 0.9, n 100") << "0.9" << "100" << "[.85354  To  .93104]";
    QTest::newRow("r 0.5, n 2") << "0.5" << "2" << "[-.99863  To  .99866]";
    QTest::newRow("r 1") << "1" << "10" << "[1.00000  To  1.00000]";
}

void TestConfidence::correlationIntervals()
{
    QFETCH(QString, r);
    QFETCH(QString, n);
    QFETCH(QString, interval);
    CalculatorSession session;
    QVERIFY(session.Choose<TScCiCorrelation>("Pearsonsr1", [&](TScCiCorrelation *dialog) {
        TypeInto(dialog->Correl, r);
        TypeInto(dialog->SampleSize, n);
        PressKey(Qt::Key_Return);
    }));
    QCOMPARE(CalculatorSession::MemoLines(),
             (QStringList{"",
                          QStringLiteral("  CONFIDENCE INTERVAL - CORRELATION  (r = %1, n = %2)")
                              .arg(r, n),
                          "", "       95% C.I. =  " + interval}));
}

void TestConfidence::correlationOfMinusOne()
{
    CalculatorSession session;
    QVERIFY(session.Choose<TScCiCorrelation>("Pearsonsr1", [](TScCiCorrelation *dialog) {
        TypeInto(dialog->Correl, "-1");
        PressKey(Qt::Key_Return);
    }));
    QCOMPARE(CalculatorSession::MemoLines(),
             (QStringList{"", "  CONFIDENCE INTERVAL - CORRELATION  (r = -1, n = 10)"}));
    QCOMPARE(session.Messages().size(), 1);
    QCOMPARE(session.Messages()[0].text, QStringLiteral("Floating point division by zero."));
}

void TestConfidence::correlationAccelerators()
{
    CalculatorSession session;
    QVERIFY(session.Choose<TScCiCorrelation>("Pearsonsr1", [](TScCiCorrelation *dialog) {
        // "&Sample size:" names no field.
        QTest::keyClick(dialog, Qt::Key_S, Qt::AltModifier);
        QVERIFY(dialog->OKBtn->hasFocus());
        // "&Correlation:" and "&Confidence width:" share their letter.
        QTest::keyClick(dialog, Qt::Key_C, Qt::AltModifier);
        QWidget *first = QApplication::focusWidget();
        QVERIFY(first == dialog->Correl || first == dialog->ConfidenceWidth);
        QTest::keyClick(dialog, Qt::Key_C, Qt::AltModifier);
        QWidget *second = QApplication::focusWidget();
        QVERIFY(second == dialog->Correl || second == dialog->ConfidenceWidth);
        QVERIFY(second != first);
        PressKey(Qt::Key_Escape);
    }));
    QVERIFY(CalculatorSession::MemoLines().isEmpty());
}

void TestConfidence::levelEchoedAsTyped()
{
    CalculatorSession session;
    QVERIFY(session.Choose<TScCiCorrelation>("Pearsonsr1", [](TScCiCorrelation *dialog) {
        TypeInto(dialog->ConfidenceWidth, "95.0");
        PressKey(Qt::Key_Return);
    }));
    QCOMPARE(CalculatorSession::MemoLines().last(),
             QStringLiteral("     95.0% C.I. =  [-.18118  To  .83936]"));

    // A level text of 10 characters pushes the "[" out of the 20 columns.
    QVERIFY(session.Choose<TScCiCorrelation>("Pearsonsr1", [](TScCiCorrelation *dialog) {
        TypeInto(dialog->ConfidenceWidth, "95.0000000");
        PressKey(Qt::Key_Return);
    }));
    QCOMPARE(CalculatorSession::MemoLines().last(),
             QStringLiteral("95.0000000% C.I. =  -.18118  To  .83936]"));

    QVERIFY(session.Choose<TScCIProportion>("Proportion1", [](TScCIProportion *dialog) {
        TypeInto(dialog->ConfidenceWidth, "95.0");
        PressKey(Qt::Key_Return);
    }));
    QCOMPARE(CalculatorSession::MemoLines().mid(8),
             ProportionBlock(1, 10, "           95.0% C.I. =  [.003  To  .445]"));
}

void TestConfidence::blocksFollowEachOther()
{
    CalculatorSession session;
    // The mean block begins with an empty line and ends without one, so a
    // proportion title that follows stands right under its interval line.
    QVERIFY(session.Choose("Man1", [](QDialog *) { PressKey(Qt::Key_Return); }));
    QVERIFY(session.Choose("Proportion1", [](QDialog *) { PressKey(Qt::Key_Return); }));
    QCOMPARE(CalculatorSession::MemoLines().mid(3, 2),
             (QStringList{"             95% C.I. =  [.142  To  .858]",
                          "CONFIDENCE INTERVAL - PROPORTION  (x = 1, n = 10)"}));
}

QTEST_MAIN(TestConfidence)
#include "tst_confidence.moc"
