// The seven dialogs of the Probability menu, driven through the menu with
// key clicks, as a user drives them.
//
// Expected probabilities are R's (tests/reference/probability_dialogs.R
// prints them) or exact fractions worked out beside the case, written as
// the results document shows them: 4 decimals without the leading zero.
#include "support/calculatortest.h"

#include "calculator/dialogs/scbin.h"
#include "calculator/dialogs/scchi.h"
#include "calculator/dialogs/scfst.h"
#include "calculator/dialogs/scnor.h"
#include "calculator/dialogs/scpea.h"
#include "calculator/dialogs/scpoi.h"
#include "calculator/dialogs/scstu.h"
#include "calculator/framework/spinedit.h"
#include "calculator/numedit.h"

#include <QApplication>
#include <QFontMetricsF>
#include <QFrame>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

namespace {

// A probability line: "P = " right-justified in 15, the number in a field
// of 6 that begins with a blank, two blanks, the label.
QString P(const char *number, const char *label)
{
    return QString(11, QLatin1Char(' ')) + "P = " + number + "  " + label;
}

QPushButton *Button(QDialog *dialog, const QString &caption)
{
    const auto buttons = dialog->findChildren<QPushButton *>();
    for (QPushButton *button : buttons)
        if (button->text() == caption)
            return button;
    return nullptr;
}

// The control's name as the tab order lists it: a button's caption.
QString NameOf(QWidget *control)
{
    if (auto *button = qobject_cast<QPushButton *>(control))
        return button->text();
    return control->objectName();
}

// Empties the field with Backspace and types text into it: typed over a
// selection, a "-" or a separator would be refused while the old text
// holds one.
void Retype(QWidget *field, const char *text)
{
    TypeInto(field, "");
    QTest::keyClick(field, Qt::Key_Backspace);
    QTest::keyClicks(field, text);
}

// Opens the dialog of the menu item, presses Enter at once and returns.
void EnterAtOnce(CalculatorSession &session, const char *item)
{
    QVERIFY(session.Choose(item, [](QDialog *) { PressKey(Qt::Key_Return); }));
}

}  // namespace

class TestProbability : public QObject {
    Q_OBJECT

private slots:
    void formsAsDescribed_data();
    void formsAsDescribed();
    void labelsInTheFontsWidths();
    void enterAtOnce_data();
    void enterAtOnce();
    void typedInputs();
    void realInputShownAsTyped();
    void commaLocale();
    void rangeChecksOnLeaving();
    void poissonLines();
    void poissonCountBeyondTheFieldsRange();
    void binomialSuccessesCappedOnEntering();
    void binomialWithoutTrials();
    void emptyRealFieldAppendsNothing();
    void poissonMeanOfZero();
    void cancelAndEscapeAppendNothing();
};

void TestProbability::formsAsDescribed_data()
{
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QStringList>("tabOrder");
    QTest::addColumn<QStringList>("labels");  // caption, then the field it focuses
    QTest::addColumn<bool>("buttonsBelow");

    QTest::newRow("Binomial1") << "Binomial distribution" << QSize(328, 110)
                               << QStringList{"OK", "Cancel", "NbTrials", "NbSuccess",
                                              "Probability"}
                               << QStringList{"Number of &Trials:", "NbTrials",
                                              "Number of &Success:", "NbSuccess",
                                              "&Probability of success:", "Probability"}
                               << false;
    QTest::newRow("Poisson1") << "Poisson distribution" << QSize(290, 99)
                              << QStringList{"OK", "Cancel", "Mean", "Value"}
                              << QStringList{"&Mean:", "Mean", "&Value:", "Value"} << true;
    QTest::newRow("Normal1") << "Normal distribution" << QSize(186, 91)
                             << QStringList{"OK", "Cancel", "Edit1"}
                             << QStringList{"Value of &Z:", "Edit1"} << true;
    QTest::newRow("Chisquare1") << "Chi-square distribution" << QSize(319, 89)
                                << QStringList{"OK", "Cancel", "DegreeOfFreedom", "ChiSquare"}
                                << QStringList{"&Chi-square value:", "ChiSquare",
                                               "&Degrees of freedom:", "DegreeOfFreedom"}
                                << false;
    QTest::newRow("ttest1") << "t distribution" << QSize(314, 87)
                            << QStringList{"OK", "Cancel", "DegreeOfFreedom", "TValue"}
                            << QStringList{"&Student's t value:", "TValue",
                                           "&Degrees of freedom:", "DegreeOfFreedom"}
                            << false;
    QTest::newRow("Ftest1") << "F distribution" << QSize(411, 111)
                            << QStringList{"OK", "Cancel", "Df1", "FValue", "Df2"}
                            << QStringList{"&F value:", "FValue",
                                           "Degrees of Freedom of &Numerator:", "Df1",
                                           "Degrees of Freedom of &Denominator:", "Df2"}
                            << false;
    QTest::newRow("rvalue1") << "Pearson's r distribution" << QSize(314, 88)
                             << QStringList{"OK", "Cancel", "SampleSize", "Value"}
                             << QStringList{"&Pearson's r value:", "Value", "&Sample size:",
                                            "SampleSize"}
                             << false;
}

void TestProbability::formsAsDescribed()
{
    QFETCH(QString, caption);
    QFETCH(QSize, size);
    QFETCH(QStringList, tabOrder);
    QFETCH(QStringList, labels);
    QFETCH(bool, buttonsBelow);
    CalculatorSession session;
    QVERIFY(session.Choose(QTest::currentDataTag(), [&](QDialog *dialog) {
        QCOMPARE(dialog->windowTitle(), caption);
        QCOMPARE(dialog->size(), size);
        QCOMPARE(dialog->minimumSize(), size);
        QCOMPARE(dialog->maximumSize(), size);
        QCOMPARE(dialog->font().pixelSize(), 11);

        QPushButton *ok = Button(dialog, "OK");
        QPushButton *cancel = Button(dialog, "Cancel");
        QVERIFY(ok && cancel);
        QVERIFY(ok->isDefault());
        QCOMPARE(QApplication::focusWidget(), ok);

        // Tab runs through the controls in their order and back to OK.
        QStringList seen;
        do {
            seen << NameOf(QApplication::focusWidget());
            PressKey(Qt::Key_Tab);
        } while (QApplication::focusWidget() != ok && seen.size() < 10);
        QCOMPARE(seen, tabOrder);

        // Each label's accelerator moves the focus to its field.
        QStringList shown;
        const auto all = dialog->findChildren<QLabel *>();
        for (QLabel *label : all) {
            shown << label->text() << (label->buddy() ? label->buddy()->objectName() : "");
            QCOMPARE(label->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
            QTest::keySequence(QApplication::focusWidget(), QKeySequence::mnemonic(label->text()));
            QCOMPARE(QApplication::focusWidget(), label->buddy());
        }
        QCOMPARE(shown, labels);

        // The frame holds the fields; the buttons stand side by side under
        // it or one above the other to its right.
        const auto *bevel = dialog->findChild<QFrame *>("Bevel1");
        QVERIFY(bevel);
        for (QLabel *label : all)
            QVERIFY(bevel->geometry().contains(label->buddy()->geometry()));
        if (buttonsBelow) {
            QCOMPARE(ok->y(), cancel->y());
            QVERIFY(ok->x() < cancel->x());
            QVERIFY(ok->y() > bevel->geometry().bottom());
        } else {
            QCOMPARE(ok->x(), cancel->x());
            QVERIFY(ok->y() < cancel->y());
            QVERIFY(ok->x() > bevel->geometry().right());
        }
        PressKey(Qt::Key_Escape);
    }));
    QVERIFY(session.Messages().isEmpty());
}

// MS Sans Serif, the forms' font, is missing here; the face that stands in
// for it has Arial's widths, so that the longest label of the F dialog
// leaves room in its frame.  "Degrees of Freedom of Denominator:" in the
// advance widths of Helvetica and Arial, per 1000 em: "Degrees" 3779,
// " of " 1390, "Freedom" 4001, " of " 1390, "Denominator:" 6002; 16562 in
// all, at 11 pixels 182.2 pixels.  The label's right edge stands at 214,
// so the text starts 24 pixels right of the frame at 8 (DejaVu Sans, the
// default sans-serif face, would start it at 10).
void TestProbability::labelsInTheFontsWidths()
{
    CalculatorSession session;
    QVERIFY(session.Choose<TScStudentF>("Ftest1", [](TScStudentF *dialog) {
        QLabel *label = nullptr;
        for (QLabel *each : dialog->findChildren<QLabel *>())
            if (each->buddy() == dialog->Df2)
                label = each;
        QVERIFY(label);
        const QString text = QString(label->text()).remove('&');
        QCOMPARE(text, QStringLiteral("Degrees of Freedom of Denominator:"));
        const qreal width = QFontMetricsF(label->font()).horizontalAdvance(text);
        QVERIFY2(qAbs(width - 182.2) <= 1.5, qPrintable(QString::number(width)));
        QCOMPARE(label->geometry().right(), 213);
        PressKey(Qt::Key_Escape);
    }));
}

void TestProbability::enterAtOnce_data()
{
    QTest::addColumn<QStringList>("lines");
    // n = 4, p = 1/2: P(X <= 2) = (1 + 4 + 6)/16, P(X = 2) = 6/16,
    // P(X >= 2) = (6 + 4 + 1)/16.
    QTest::newRow("Binomial1") << QStringList{"BINOMIAL PROBABILITY  (n = 4, x = 2, p = 0.5)", "",
                                              P(" .6875", "( <= 2 )"), P(" .3750", "(  = 2 )"),
                                              P(" .6875", "( >= 2 )"), ""};
    // e^-0.5 = 0.60653
    QTest::newRow("Poisson1") << QStringList{"POISSON PROBABILITY (Mu = 0.5, x = 0)", "",
                                             P(" .6065", "( <= 0 )"), P(" .6065", "(  = 0 )"),
                                             P(" 1.000", "( >= 0 )"), ""};
    // pnorm(0.5, lower.tail = FALSE) = 0.30853754
    QTest::newRow("Normal1") << QStringList{"NORMAL PROBABILITY  (z = 0.5)", "",
                                            P(" .3085", "(1-tailed)"), P(" .6171", "(2-tailed)"),
                                            ""};
    // pchisq(1.2, 1, lower.tail = FALSE) = 0.27332168
    QTest::newRow("Chisquare1") << QStringList{"CHI-SQUARE PROBABILITY (Chi = 1.2, d.f. = 1)", "",
                                               P(" .2733", ""), ""};
    // pt(1.2, 10, lower.tail = FALSE) = 0.12889815
    QTest::newRow("ttest1") << QStringList{"T PROBABILITY (t = 1.2, d.f. = 10)", "",
                                           P(" .1289", "(1-tailed)"), P(" .2578", "(2-tailed)"),
                                           ""};
    // pf(1.2, 1, 1, lower.tail = FALSE) = 0.47102273
    QTest::newRow("Ftest1") << QStringList{"F PROBABILITY (F = 1.2, d.f. = 1/1)", "",
                                           P(" .4710", ""), ""};
    // t = 0.5 * sqrt(8 / 0.75), pt(t, 8, lower.tail = FALSE) = 0.07055664
    QTest::newRow("rvalue1") << QStringList{"R PROBABILITY (r = 0.5, n = 10)", "",
                                            P(" .0706", "(1-tailed)"), P(" .1411", "(2-tailed)"),
                                            ""};
}

void TestProbability::enterAtOnce()
{
    QFETCH(QStringList, lines);
    CalculatorSession session;
    EnterAtOnce(session, QTest::currentDataTag());
    QCOMPARE(CalculatorSession::MemoLines(), lines);
    QVERIFY(CalculatorSession::Modified());
    QVERIFY(session.Messages().isEmpty());
    QCOMPARE(session.Beeps(), 0);
}

void TestProbability::typedInputs()
{
    CalculatorSession session;
    QVERIFY(session.Choose<TScBinomial>("Binomial1", [](TScBinomial *dialog) {
        TypeInto(dialog->NbTrials, "10");
        TypeInto(dialog->NbSuccess, "3");
        Retype(dialog->Probability, ".3");
        PressKey(Qt::Key_Return);
    }));
    QVERIFY(session.Choose<TScChiSquare>("Chisquare1", [](TScChiSquare *dialog) {
        TypeInto(dialog->DegreeOfFreedom, "4");
        Retype(dialog->ChiSquare, "3.5");
        PressKey(Qt::Key_Return);
    }));
    QVERIFY(session.Choose<TScStudentF>("Ftest1", [](TScStudentF *dialog) {
        Retype(dialog->FValue, "2.5");
        TypeInto(dialog->Df1, "3");
        TypeInto(dialog->Df2, "12");
        PressKey(Qt::Key_Return);
    }));
    QCOMPARE(CalculatorSession::MemoLines(),
             (QStringList{
                 // pbinom(3, 10, 0.3) = 0.64961072, dbinom(3, 10, 0.3) = 0.26682793,
                 // pbinom(2, 10, 0.3, lower.tail = FALSE) = 0.61721721
                 "BINOMIAL PROBABILITY  (n = 10, x = 3, p = .3)", "", P(" .6496", "( <= 3 )"),
                 P(" .2668", "(  = 3 )"), P(" .6172", "( >= 3 )"), "",
                 // pchisq(3.5, 4, lower.tail = FALSE) = 0.47787834
                 "CHI-SQUARE PROBABILITY (Chi = 3.5, d.f. = 4)", "", P(" .4779", ""), "",
                 // pf(2.5, 3, 12, lower.tail = FALSE) = 0.10915471
                 "F PROBABILITY (F = 2.5, d.f. = 3/12)", "", P(" .1092", ""), ""}));
    QVERIFY(session.Messages().isEmpty());
}

void TestProbability::realInputShownAsTyped()
{
    CalculatorSession session;
    for (const char *z : {"0.50", "-1.5", "1.5"}) {
        QVERIFY(session.Choose<TScNormal>("Normal1", [z](TScNormal *dialog) {
            TypeInto(dialog->Edit1, z);
            PressKey(Qt::Key_Return);
        }));
    }
    // pnorm(-1.5) = 0.06680720: the sign of z does not matter.
    QCOMPARE(CalculatorSession::MemoLines(),
             (QStringList{"NORMAL PROBABILITY  (z = 0.50)", "", P(" .3085", "(1-tailed)"),
                          P(" .6171", "(2-tailed)"), "",
                          "NORMAL PROBABILITY  (z = -1.5)", "", P(" .0668", "(1-tailed)"),
                          P(" .1336", "(2-tailed)"), "",
                          "NORMAL PROBABILITY  (z = 1.5)", "", P(" .0668", "(1-tailed)"),
                          P(" .1336", "(2-tailed)"), ""}));
}

void TestProbability::commaLocale()
{
    const LocaleGuard comma(CommaLocale());
    CalculatorSession session;
    QStringList shown;
    QVERIFY(session.Choose<TScNormal>("Normal1", [&](TScNormal *dialog) {
        shown << dialog->Edit1->text();
        TypeInto(dialog->Edit1, "1.5");
        shown << dialog->Edit1->text();
        PressKey(Qt::Key_Return);
    }));
    QVERIFY(session.Choose<TScStudentT>("ttest1", [&](TScStudentT *dialog) {
        shown << dialog->TValue->text();
        TypeInto(dialog->TValue, "-1,2");
        PressKey(Qt::Key_Return);
    }));
    QCOMPARE(shown, (QStringList{"0,5", "1,5", "1,2"}));
    QCOMPARE(CalculatorSession::MemoLines(),
             (QStringList{"NORMAL PROBABILITY  (z = 1,5)", "", P(" ,0668", "(1-tailed)"),
                          P(" ,1336", "(2-tailed)"), "",
                          "T PROBABILITY (t = -1,2, d.f. = 10)", "", P(" ,1289", "(1-tailed)"),
                          P(" ,2578", "(2-tailed)"), ""}));
}

void TestProbability::rangeChecksOnLeaving()
{
    CalculatorSession session;
    QStringList left;
    QVERIFY(session.Choose<TScBinomial>("Binomial1", [&](TScBinomial *dialog) {
        TypeInto(dialog->Probability, "1.5");
        LeaveField(dialog->Probability);
        left << dialog->Probability->text();
        PressKey(Qt::Key_Escape);
    }));
    QCOMPARE(session.Beeps(), 1);
    QVERIFY(session.Choose<TScPearsonR>("rvalue1", [&](TScPearsonR *dialog) {
        Retype(dialog->Value, "-0.2");
        LeaveField(dialog->Value);
        left << dialog->Value->text();
        Retype(dialog->Value, "-3");
        LeaveField(dialog->Value);
        left << dialog->Value->text();
        PressKey(Qt::Key_Return);
    }));
    QCOMPARE(left, (QStringList{"1", "-0.2", "-1"}));
    QCOMPARE(session.Beeps(), 2);
    // |r| = 1 has no probability left.
    QCOMPARE(CalculatorSession::MemoLines(),
             (QStringList{"R PROBABILITY (r = -1, n = 10)", "", P(" .0000", "(1-tailed)"),
                          P(" .0000", "(2-tailed)"), ""}));

    // Enter in the field computes without the check.
    CalculatorSession::ClearDocument();
    QVERIFY(session.Choose<TScPearsonR>("rvalue1", [&](TScPearsonR *dialog) {
        TypeInto(dialog->Value, "-3");
        PressKey(Qt::Key_Return);
    }));
    QCOMPARE(CalculatorSession::MemoLines().value(0),
             QStringLiteral("R PROBABILITY (r = -3, n = 10)"));
    QCOMPARE(session.Beeps(), 2);
}

void TestProbability::poissonLines()
{
    CalculatorSession session;
    for (const auto &[mean, x] : {std::pair{"4", "0"}, std::pair{"2.5", "3"}}) {
        QVERIFY(session.Choose<TScPoisson>("Poisson1", [&](TScPoisson *dialog) {
            TypeInto(dialog->Mean, mean);
            TypeInto(dialog->Value, x);
            PressKey(Qt::Key_Return);
        }));
    }
    QCOMPARE(CalculatorSession::MemoLines(),
             (QStringList{// At x = 0 the three lines are e^-Mu, e^-Mu and 1; e^-4 = 0.01831564.
                          "POISSON PROBABILITY (Mu = 4, x = 0)", "", P(" .0183", "( <= 0 )"),
                          P(" .0183", "(  = 0 )"), P(" 1.000", "( >= 0 )"), "",
                          // ppois(3, 2.5) = 0.75757613, dpois(3, 2.5) = 0.21376302,
                          // ppois(2, 2.5, lower.tail = FALSE) = 0.45618688:
                          // .7576 + .4562 = 1 + .2138
                          "POISSON PROBABILITY (Mu = 2.5, x = 3)", "", P(" .7576", "( <= 3 )"),
                          P(" .2138", "(  = 3 )"), P(" .4562", "( >= 3 )"), ""}));

    // The upper tail at the field's largest count is 1 minus a sum that
    // comes out a little above 1: it shows as 0, without a minus sign.
    CalculatorSession::ClearDocument();
    QVERIFY(session.Choose<TScPoisson>("Poisson1", [&](TScPoisson *dialog) {
        TypeInto(dialog->Mean, "50");
        TypeInto(dialog->Value, "32000");
        PressKey(Qt::Key_Return);
    }));
    QCOMPARE(CalculatorSession::MemoLines(),
             (QStringList{"POISSON PROBABILITY (Mu = 50, x = 32000)", "",
                          P(" 1.000", "( <= 32000 )"), P(" .0000", "(  = 32000 )"),
                          P(" .0000", "( >= 32000 )"), ""}));

    // A count field left empty shows its text; the probabilities take the
    // field's value, its minimum 0.
    CalculatorSession::ClearDocument();
    QVERIFY(session.Choose<TScPoisson>("Poisson1", [&](TScPoisson *dialog) {
        TypeInto(dialog->Value, "");
        QTest::keyClick(dialog->Value, Qt::Key_Backspace);
        PressKey(Qt::Key_Return);
    }));
    QCOMPARE(CalculatorSession::MemoLines(),
             (QStringList{"POISSON PROBABILITY (Mu = 0.5, x = )", "", P(" .6065", "( <=  )"),
                          P(" .6065", "(  =  )"), P(" 1.000", "( >=  )"), ""}));
    QVERIFY(session.Messages().isEmpty());
}

void TestProbability::poissonCountBeyondTheFieldsRange()
{
    // Enter in the count field computes with the whole number typed, also
    // one beyond 0..32000 and beyond 16 bits.
    CalculatorSession session;
    QVERIFY(session.Choose<TScPoisson>("Poisson1", [](TScPoisson *dialog) {
        TypeInto(dialog->Mean, "69800");
        TypeInto(dialog->Value, "70000");
        PressKey(Qt::Key_Return);
    }));
    // ppois(70000, 69800) = 0.77612497, dpois(70000, 69800) = 0.00113250,
    // ppois(69999, 69800, lower.tail = FALSE) = 0.22500754
    QCOMPARE(CalculatorSession::MemoLines(),
             (QStringList{"POISSON PROBABILITY (Mu = 69800, x = 70000)", "",
                          P(" .7761", "( <= 70000 )"), P(" .0011", "(  = 70000 )"),
                          P(" .2250", "( >= 70000 )"), ""}));
}

void TestProbability::binomialSuccessesCappedOnEntering()
{
    CalculatorSession session;
    QStringList successes;
    QVERIFY(session.Choose<TScBinomial>("Binomial1", [&](TScBinomial *dialog) {
        TypeInto(dialog->NbTrials, "10");
        TypeInto(dialog->NbSuccess, "5");
        LeaveField(dialog->NbSuccess);
        successes << dialog->NbSuccess->Text();
        TypeInto(dialog->NbTrials, "3");
        LeaveField(dialog->NbTrials);  // into the successes field
        successes << dialog->NbSuccess->Text();
        // Now limited to 0..3.
        TypeInto(dialog->NbSuccess, "7");
        LeaveField(dialog->NbSuccess);
        successes << dialog->NbSuccess->Text();
        PressKey(Qt::Key_Return);
    }));
    QCOMPARE(successes, (QStringList{"5", "3", "3"}));
    // n = 3, p = 1/2: P(X <= 3) = 1, P(X = 3) = P(X >= 3) = 1/8.
    QCOMPARE(CalculatorSession::MemoLines(),
             (QStringList{"BINOMIAL PROBABILITY  (n = 3, x = 3, p = 0.5)", "",
                          P(" 1.000", "( <= 3 )"), P(" .1250", "(  = 3 )"),
                          P(" .1250", "( >= 3 )"), ""}));
    QCOMPARE(session.Beeps(), 0);
}

void TestProbability::binomialWithoutTrials()
{
    CalculatorSession session;
    QStringList successes;
    QVERIFY(session.Choose<TScBinomial>("Binomial1", [&](TScBinomial *dialog) {
        TypeInto(dialog->NbTrials, "0");
        TypeInto(dialog->NbSuccess, "");  // entering it sets it to 0
        successes << dialog->NbSuccess->Text();
        PressKey(Qt::Key_Return);
    }));
    // No trials: no successes for certain.
    QCOMPARE(CalculatorSession::MemoLines(),
             (QStringList{"BINOMIAL PROBABILITY  (n = 0, x = 0, p = 0.5)", "",
                          P(" 1.000", "( <= 0 )"), P(" 1.000", "(  = 0 )"),
                          P(" 1.000", "( >= 0 )"), ""}));

    // With its maximum equal to its minimum the successes field has no
    // limit: more successes than trials reach the computation, which fails
    // after the title.
    CalculatorSession::ClearDocument();
    QVERIFY(session.Choose<TScBinomial>("Binomial1", [&](TScBinomial *dialog) {
        TypeInto(dialog->NbTrials, "0");
        TypeInto(dialog->NbSuccess, "7");
        LeaveField(dialog->NbSuccess);
        successes << dialog->NbSuccess->Text();
        PressKey(Qt::Key_Return);
    }));
    QCOMPARE(successes, (QStringList{"0", "7"}));
    QCOMPARE(CalculatorSession::MemoLines(),
             (QStringList{"BINOMIAL PROBABILITY  (n = 0, x = 7, p = 0.5)", ""}));
    QCOMPARE(session.Messages().size(), 1);
    QCOMPARE(session.Messages()[0].icon, QMessageBox::Critical);
}

void TestProbability::emptyRealFieldAppendsNothing()
{
    CalculatorSession session;
    QVERIFY(session.Choose<TScStudentT>("ttest1", [](TScStudentT *dialog) {
        TypeInto(dialog->TValue, "");
        QTest::keyClick(dialog->TValue, Qt::Key_Backspace);
        PressKey(Qt::Key_Return);
    }));
    QVERIFY(session.Choose<TScBinomial>("Binomial1", [](TScBinomial *dialog) {
        Retype(dialog->Probability, ".");
        PressKey(Qt::Key_Return);
    }));
    QVERIFY(CalculatorSession::MemoLines().isEmpty());
    QVERIFY(!CalculatorSession::Modified());
    QCOMPARE(session.Messages().size(), 2);
    QCOMPARE(session.Messages()[0].text, QStringLiteral("'' is not a valid floating point value."));
    QCOMPARE(session.Messages()[1].text,
             QStringLiteral("'.' is not a valid floating point value."));
    QCOMPARE(session.Messages()[1].caption, QStringLiteral("Vardelo 32 bit"));
}

void TestProbability::poissonMeanOfZero()
{
    CalculatorSession session;
    QVERIFY(session.Choose<TScPoisson>("Poisson1", [](TScPoisson *dialog) {
        TypeInto(dialog->Mean, "0");
        PressKey(Qt::Key_Return);
    }));
    // The title stays; the first probability takes the logarithm of 0.
    QCOMPARE(CalculatorSession::MemoLines(),
             (QStringList{"POISSON PROBABILITY (Mu = 0, x = 0)", ""}));
    QVERIFY(CalculatorSession::Modified());
    QCOMPARE(session.Messages().size(), 1);
    QCOMPARE(session.Messages()[0].text, QStringLiteral("Floating point division by zero."));
}

void TestProbability::cancelAndEscapeAppendNothing()
{
    CalculatorSession session;
    const char *items[] = {"Binomial1", "Poisson1", "Normal1", "Chisquare1",
                           "ttest1",    "Ftest1",   "rvalue1"};
    for (bool modified : {false, true}) {
        CalculatorSession::SetDocument("kept\n", modified);
        for (const char *item : items) {
            QVERIFY(session.Choose(item, [](QDialog *dialog) { ClickButton(dialog, "Cancel"); }));
            QVERIFY(session.Choose(item, [](QDialog *) {
                PressKey(Qt::Key_Tab);
                PressKey(Qt::Key_Tab);
                QTest::keyClicks(QApplication::focusWidget(), "5");
                PressKey(Qt::Key_Escape);
            }));
        }
        QCOMPARE(CalculatorSession::MemoLines(), QStringList{"kept"});
        QCOMPARE(CalculatorSession::Modified(), modified);
    }
    QVERIFY(session.Messages().isEmpty());
}

QTEST_MAIN(TestProbability)
#include "tst_probability.moc"
