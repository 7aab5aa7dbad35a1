// The comparison tests: one-sample t test, two independent samples, two
// correlations.
//
// Expected probabilities, t, F and degrees of freedom come from R (pt, pf,
// pnorm on the summary statistics; tests/reference/make_dialog_reference.R
// prints them), quoted to the decimals the lines show.
#include "support/calculatortest.h"

#include "calculator/dialogs/sccor.h"
#include "calculator/dialogs/scmea1.h"
#include "calculator/dialogs/scmea2.h"
#include "calculator/framework/spinedit.h"
#include "calculator/numedit.h"

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

namespace {

const QString Div0 = QStringLiteral("Floating point division by zero.");
const QString Invalid = QStringLiteral("Invalid floating point operation.");

// The probability lines with 11 blanks and "P = " in front.
QString P(const char *value, const char *label)
{
    return QStringLiteral("           P =  %1  %2").arg(QLatin1String(value), QLatin1String(label));
}

}  // namespace

class TestComparison : public QObject {
    Q_OBJECT

private slots:
    void oneSampleDefaults();
    void oneSampleWithTheVariance();
    void oneSampleArithmeticFailures();
    void twoSampleDefaults();
    void twoSamplesWithTheVariances();
    void twoSamplesOfUnequalSizes();
    void twoSamplesFTestStaysAProbability();
    void twoSamplesFLineHeadIsCutAt50();
    void twoSampleFailures();
    void correlationDefaults();
    void correlationFailures();
    void cancelAppendsNothing();
};

void TestComparison::oneSampleDefaults()
{
    CalculatorSession session;
    QVERIFY(session.Choose<TScMean1>("Comparisonofmeans1sample1", [](TScMean1 *dialog) {
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Comparison of means - 1 sample"));
        QCOMPARE(dialog->size(), QSize(418, 187));
        QVERIFY(dialog->OKBtn->hasFocus());
        QCOMPARE(dialog->Label4->text(), QStringLiteral("St&andard deviation:"));
        PressKey(Qt::Key_Return);
    }));
    // t = |0 - 0.5| / (0.5 / sqrt(10)) = sqrt(10) = 3.1623 with 9 degrees of
    // freedom; pt(3.1623, 9, lower.tail = FALSE) = 0.0057540.
    QCOMPARE(CalculatorSession::MemoLines(),
             (QStringList{"T-TEST FOR 1 SAMPLE  (m = 0.5, n = 10, Mu = 0.0, S.D. = 0.5)", "",
                          "           t =  3.162", P(".0058", "(1-tailed)"),
                          P(".0115", "(2-tailed)"), ""}));
    QVERIFY(session.Messages().isEmpty());
    QVERIFY(CalculatorSession::Modified());
}

void TestComparison::oneSampleWithTheVariance()
{
    CalculatorSession session;
    QVERIFY(session.Choose<TScMean1>("Comparisonofmeans1sample1", [](TScMean1 *dialog) {
        QTest::mouseClick(dialog->Measure_variance, Qt::LeftButton);
        QCOMPARE(dialog->Label4->text(), QStringLiteral("V&ariance:"));
        QTest::mouseClick(dialog->Measure_StdDev, Qt::LeftButton);
        QCOMPARE(dialog->Label4->text(), QStringLiteral("St&andard deviation:"));
        QTest::mouseClick(dialog->Measure_variance, Qt::LeftButton);
        // The accelerator of the new caption still reaches the field.
        QTest::keyClick(dialog, Qt::Key_A, Qt::AltModifier);
        QVERIFY(dialog->StdDev->hasFocus());
        TypeInto(dialog->StdDev, "0.25");
        ClickButton(dialog, "OK");
    }));
    // The variance 0.25 is the standard deviation 0.5: the same t as with
    // the defaults, while the title repeats what was typed.
    QCOMPARE(CalculatorSession::MemoLines(),
             (QStringList{"T-TEST FOR 1 SAMPLE  (m = 0.5, n = 10, Mu = 0.0, S.D. = 0.25)", "",
                          "           t =  3.162", P(".0058", "(1-tailed)"),
                          P(".0115", "(2-tailed)"), ""}));
}

void TestComparison::oneSampleArithmeticFailures()
{
    CalculatorSession session;
    // A negative variance (pasted: the field refuses a typed minus sign)
    // has no square root; nothing is appended, as the spread is read
    // before the title.
    QVERIFY(session.Choose<TScMean1>("Comparisonofmeans1sample1", [](TScMean1 *dialog) {
        QTest::mouseClick(dialog->Measure_variance, Qt::LeftButton);
        dialog->StdDev->setText("-0.25");
        ClickButton(dialog, "OK");
    }));
    QVERIFY(CalculatorSession::MemoLines().isEmpty());
    QCOMPARE(session.Messages().size(), 1);
    QCOMPARE(session.Messages()[0].text, Invalid);
    QCOMPARE(session.Messages()[0].caption, QStringLiteral("Vardelo 32 bit"));

    // A standard deviation of 0 divides by zero after the title, or 0 by 0
    // when the means agree.
    const struct {
        const char *mean, *message;
    } cases[] = {{"0.5", "Floating point division by zero."},
                 {"0.0", "Invalid floating point operation."}};
    for (const auto &c : cases) {
        CalculatorSession::ClearDocument();
        session.ClearMessages();
        QVERIFY(session.Choose<TScMean1>("Comparisonofmeans1sample1", [&](TScMean1 *dialog) {
            TypeInto(dialog->Mean1, c.mean);
            TypeInto(dialog->StdDev, "0");
            PressKey(Qt::Key_Return);
        }));
        const QString title =
            QStringLiteral("T-TEST FOR 1 SAMPLE  (m = %1, n = 10, Mu = 0.0, S.D. = 0)");
        QCOMPARE(CalculatorSession::MemoLines(),
                 (QStringList{title.arg(QLatin1String(c.mean)), ""}));
        QCOMPARE(session.Messages().size(), 1);
        QCOMPARE(session.Messages()[0].text, QLatin1String(c.message));
    }
}

// The defaults' lines, also reached with the variance button.
const QStringList TwoSampleDefaultLines{
    "T-TEST FOR 2 INDEPENDENT SAMPLES",
    "       (1st sample: m  = 10.000, s.d. = 10.000, n = 10)",
    "       (2nd sample: m  = 12.000, s.d. = 12.000, n = 12)",
    "",
    // F = 144 / 100; 2 * pf(1.44, 11, 9, lower.tail = FALSE) = 0.59389.
    "   Test for equality of variances (F = 1.440, P =  .594)",
    "",
    // vp = (9 * 100 + 11 * 144) / 20 = 124.2, t = 2 / sqrt(124.2 / 10 +
    // 124.2 / 12) = 0.41913 with 20 df: pt gives 0.33979.
    "   Equal variances (t = .419)",
    P(".3398", "(1-tailed)"),
    P(".6796", "(2-tailed)"),
    "",
    // t' = 2 / sqrt(100 / 10 + 144 / 12) = 0.42640; df' = 22^2 / (10^2 / 9 +
    // 12^2 / 11) = 19.998: pt gives 0.33719.
    "   Unequal variances (t = .426)",
    P(".3372", "(1-tailed)"),
    P(".6744", "(2-tailed)"),
    "",
};

void TestComparison::twoSampleDefaults()
{
    CalculatorSession session;
    QVERIFY(session.Choose<TScMean>("Comparisonbetweenmeans1", [](TScMean *dialog) {
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Comparison between 2 means"));
        QCOMPARE(dialog->size(), QSize(418, 210));
        PressKey(Qt::Key_Return);
    }));
    QCOMPARE(CalculatorSession::MemoLines(), TwoSampleDefaultLines);
    QVERIFY(session.Messages().isEmpty());
}

void TestComparison::twoSamplesWithTheVariances()
{
    CalculatorSession session;
    QVERIFY(session.Choose<TScMean>("Comparisonbetweenmeans1", [](TScMean *dialog) {
        QTest::mouseClick(dialog->Measure_variance, Qt::LeftButton);
        QCOMPARE(dialog->Label5->text(), QStringLiteral("V&ariance:"));
        QCOMPARE(dialog->Label4->text(), QStringLiteral("Varia&nce:"));
        TypeInto(dialog->StdDev1, "100");
        TypeInto(dialog->StdDev2, "144");
        PressKey(Qt::Key_Return);
    }));
    // The sample lines show the standard deviations.
    QCOMPARE(CalculatorSession::MemoLines(), TwoSampleDefaultLines);

    QVERIFY(session.Choose<TScMean>("Comparisonbetweenmeans1", [](TScMean *dialog) {
        QTest::mouseClick(dialog->Measure_variance, Qt::LeftButton);
        dialog->StdDev2->setText("-144");
        PressKey(Qt::Key_Return);
    }));
    // A negative variance fails after the title.
    QCOMPARE(CalculatorSession::MemoLines().mid(TwoSampleDefaultLines.size()),
             QStringList{"T-TEST FOR 2 INDEPENDENT SAMPLES"});
    QCOMPARE(session.Messages().size(), 1);
    QCOMPARE(session.Messages()[0].text, Invalid);
}

void TestComparison::twoSamplesOfUnequalSizes()
{
    CalculatorSession session;
    QVERIFY(session.Choose<TScMean>("Comparisonbetweenmeans1", [](TScMean *dialog) {
        TypeInto(dialog->SampleSize2, "40");
        PressKey(Qt::Key_Return);
    }));
    // n1 = 10, n2 = 40, s1 = 10, s2 = 12.  Welch and Satterthwaite's
    // df' = (10 + 3.6)^2 / (10^2 / 9 + 3.6^2 / 39) = 16.163; the variances
    // alone, without the sizes, would give 36.24 and .2948 / .5897.
    QCOMPARE(CalculatorSession::MemoLines(),
             (QStringList{"T-TEST FOR 2 INDEPENDENT SAMPLES",
                          "       (1st sample: m  = 10.000, s.d. = 10.000, n = 10)",
                          "       (2nd sample: m  = 12.000, s.d. = 12.000, n = 40)",
                          "",
                          // 2 * pf(1.44, 39, 9, lower.tail = FALSE) = 0.58079
                          "   Test for equality of variances (F = 1.440, P =  .581)",
                          "",
                          // t = 0.48552, 48 df
                          "   Equal variances (t = .486)",
                          P(".3148", "(1-tailed)"),
                          P(".6295", "(2-tailed)"),
                          "",
                          // t' = 2 / sqrt(13.6) = 0.54233, df' = 16.163
                          "   Unequal variances (t = .542)",
                          P(".2975", "(1-tailed)"),
                          P(".5950", "(2-tailed)"),
                          ""}));
}

void TestComparison::twoSamplesFTestStaysAProbability()
{
    CalculatorSession session;
    QVERIFY(session.Choose<TScMean>("Comparisonbetweenmeans1", [](TScMean *dialog) {
        TypeInto(dialog->SampleSize1, "2");
        TypeInto(dialog->StdDev2, "10");
        TypeInto(dialog->SampleSize2, "100");
        PressKey(Qt::Key_Return);
    }));
    // Equal spreads: F = 1 with 99 and 1 degrees of freedom, whose upper
    // tail is 0.68025; doubling it would give 1.36.  The two-sided
    // probability is 2 * min(P, 1 - P) = 0.63950.
    const QStringList lines = CalculatorSession::MemoLines();
    QCOMPARE(lines.size(), 14);
    QCOMPARE(lines[4], QStringLiteral("   Test for equality of variances (F = 1.000, P =  .639)"));
    // t = 2 / sqrt(100 / 2 + 100 / 100) = 0.28006: 100 df for the pooled
    // test, df' = 51^2 / (50^2 / 1 + 1 / 99) = 1.0404 for Welch's.
    QCOMPARE(lines.mid(6, 3),
             (QStringList{"   Equal variances (t = .280)", P(".3900", "(1-tailed)"),
                          P(".7800", "(2-tailed)")}));
    QCOMPARE(lines.mid(10, 3),
             (QStringList{"   Unequal variances (t = .280)", P(".4124", "(1-tailed)"),
                          P(".8248", "(2-tailed)")}));
}

void TestComparison::twoSamplesFLineHeadIsCutAt50()
{
    CalculatorSession session;
    QVERIFY(session.Choose<TScMean>("Comparisonbetweenmeans1", [](TScMean *dialog) {
        TypeInto(dialog->StdDev1, "100");
        TypeInto(dialog->StdDev2, "1");
        TypeInto(dialog->SampleSize2, "10");
        PressKey(Qt::Key_Return);
    }));
    // F = 10000: the head is 51 characters and loses its last one; the
    // probability field still starts in column 51.  pf(10000, 9, 9) is
    // about 1e-15.
    const QStringList lines = CalculatorSession::MemoLines();
    QCOMPARE(lines[4], QStringLiteral("Test for equality of variances (F = 10000.000, P = .000)"));
    QCOMPARE(lines[4].indexOf(QLatin1String(".000)")), 51);
    // vp = 5000.5, t = 2 / sqrt(1000.1) = 0.063242 (18 df; Welch 9.0018 df)
    QCOMPARE(lines.mid(6, 3),
             (QStringList{"   Equal variances (t = .063)", P(".4751", "(1-tailed)"),
                          P(".9503", "(2-tailed)")}));
    QCOMPARE(lines.mid(10, 3),
             (QStringList{"   Unequal variances (t = .063)", P(".4755", "(1-tailed)"),
                          P(".9510", "(2-tailed)")}));
}

void TestComparison::twoSampleFailures()
{
    CalculatorSession session;
    // A field that is not a number: the title stays alone.
    QVERIFY(session.Choose<TScMean>("Comparisonbetweenmeans1", [](TScMean *dialog) {
        TypeInto(dialog->Mean2, "");
        QTest::keyClick(dialog->Mean2, Qt::Key_Backspace);
        PressKey(Qt::Key_Return);
    }));
    QCOMPARE(CalculatorSession::MemoLines(), QStringList{"T-TEST FOR 2 INDEPENDENT SAMPLES"});
    QCOMPARE(session.Messages().size(), 1);
    QCOMPARE(session.Messages()[0].text, QStringLiteral("'' is not a valid floating point value."));

    // A standard deviation of 0 fails in the F ratio, after the sample lines.
    const struct {
        const char *first, *second, *message;
    } cases[] = {{"5", "0", "Floating point division by zero."},
                 {"0", "0", "Invalid floating point operation."}};
    for (const auto &c : cases) {
        CalculatorSession::ClearDocument();
        session.ClearMessages();
        QVERIFY(session.Choose<TScMean>("Comparisonbetweenmeans1", [&](TScMean *dialog) {
            TypeInto(dialog->StdDev1, c.first);
            TypeInto(dialog->StdDev2, c.second);
            PressKey(Qt::Key_Return);
        }));
        const QStringList lines = CalculatorSession::MemoLines();
        QCOMPARE(lines.size(), 4);
        QCOMPARE(lines[3], QString());
        QCOMPARE(session.Messages().size(), 1);
        QCOMPARE(session.Messages()[0].text, QLatin1String(c.message));
    }
}

void TestComparison::correlationDefaults()
{
    CalculatorSession session;
    QVERIFY(session.Choose<TScCorrelation>("Comparisonbetweencorrelations1",
                                           [](TScCorrelation *dialog) {
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Difference between two correlations"));
        QCOMPARE(dialog->size(), QSize(367, 129));
        PressKey(Qt::Key_Return);
    }));
    // z = |atanh(0.5) - atanh(0.3)| / sqrt(1/7 + 1/7) = 0.44860;
    // pnorm(0.44860, lower.tail = FALSE) = 0.32686.  "(r2 = " stands under
    // "(r1 = ", after 27 blanks.
    QCOMPARE(CalculatorSession::MemoLines(),
             (QStringList{"", "DIFF. BETWEEN CORRELATION  (r1 = 0.5, n = 10)",
                          QString(27, QLatin1Char(' ')) + "(r2 = 0.3, n = 10)", "",
                          P(".3269", "(1-tailed)"), P(".6537", "(2-tailed)"), ""}));
}

void TestComparison::correlationFailures()
{
    CalculatorSession session;
    const struct {
        const char *r1, *n1, *message;
    } cases[] = {
        {"0.5", "3", "Floating point division by zero."},   // 1 / (3 - 3)
        {"0.5", "2", "Invalid floating point operation."},  // sqrt(-1 + 1/7)
        {"1", "10", "Floating point division by zero."},    // ln 0
        {"-1", "10", "Floating point division by zero."},
    };
    for (const auto &c : cases) {
        CalculatorSession::ClearDocument();
        session.ClearMessages();
        QVERIFY(session.Choose<TScCorrelation>("Comparisonbetweencorrelations1",
                                               [&](TScCorrelation *dialog) {
            TypeInto(dialog->Correl1, c.r1);
            TypeInto(dialog->SampleSize1, c.n1);
            LeaveField(dialog->SampleSize1);
            PressKey(Qt::Key_Return);
        }));
        QCOMPARE(CalculatorSession::MemoLines(),
                 (QStringList{"", QStringLiteral("DIFF. BETWEEN CORRELATION  (r1 = %1, n = %2)")
                                      .arg(QLatin1String(c.r1), QLatin1String(c.n1))}));
        QCOMPARE(session.Messages().size(), 1);
        QCOMPARE(session.Messages()[0].text, QLatin1String(c.message));
    }
}

void TestComparison::cancelAppendsNothing()
{
    CalculatorSession session;
    for (const char *item : {"Comparisonofmeans1sample1", "Comparisonbetweenmeans1",
                             "Comparisonbetweencorrelations1"}) {
        QVERIFY(session.Choose(item, [](QDialog *) { PressKey(Qt::Key_Escape); }));
        QVERIFY(session.Choose(item, [](QDialog *dialog) { ClickButton(dialog, "Cancel"); }));
    }
    QVERIFY(CalculatorSession::MemoLines().isEmpty());
    QVERIFY(!CalculatorSession::Modified());
}

QTEST_MAIN(TestComparison)
#include "tst_comparison.moc"
