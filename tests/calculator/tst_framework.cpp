// The framework under the calculator's forms: conversions, the default
// exception handler and its guard, the OK and Cancel buttons, TSpinEdit
// and the beep.
#include "support/calculatortest.h"

#include "calculator/framework/application.h"
#include "calculator/framework/convert.h"
#include "calculator/framework/spinedit.h"
#include "calculator/results.h"
#include "calculator/vardelo2.h"
#include "stats/fperror.h"

#include <QAction>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

#include <cmath>
#include <limits>

namespace {

QString ConversionError(const QString &text)
{
    try {
        StrToFloat(text);
    } catch (const EConvertError &error) {
        return QString::fromUtf8(error.what());
    }
    return QStringLiteral("converted");
}

}  // namespace

// A dialog built the way the calculator's dialogs are.
class TSample : public QDialog {
    Q_OBJECT
public:
    explicit TSample(QWidget *parent = nullptr) : QDialog(parent)
    {
        Count = new TSpinEdit(this);
        Count->SetMinValue(2);
        Count->SetMaxValue(10);
        Count->SetValue(4);
        Other = new QLineEdit(this);
        OKBtn = CreateOkButton(this, &TSample::OKBtnClick);
        CancelBtn = CreateCancelButton(this);
        auto *layout = new QVBoxLayout(this);
        for (QWidget *control : {static_cast<QWidget *>(OKBtn), static_cast<QWidget *>(CancelBtn),
                                 static_cast<QWidget *>(Count), static_cast<QWidget *>(Other)})
            layout->addWidget(control);
        OKBtn->setFocus();
    }

    void OKBtnClick()
    {
        AppendLine(QStringLiteral("COUNT ") + IntToStr(Count->Value()));
        if (Count->Value() == 7)
            throw DivisionByZeroError();
        AppendLine(QStringLiteral("done"));
    }

    TSpinEdit *Count;
    QLineEdit *Other;
    QPushButton *OKBtn, *CancelBtn;
};
TSample *Sample = nullptr;

class TestFramework : public QObject {
    Q_OBJECT

private slots:
    void stringToFloat();
    void stringToFloatRejects();
    void stringToFloatWithTheLocalesSeparator();
    void stringToFloatOutOfRange();
    void floatToString();
    void integerConversions();
    void defaultHandlerAddsTheFullStop();
    void guardCatchesEveryError();
    void okRunsItsHandlerAndThenCloses();
    void cancelAndEscapeRunNothing();
    void spinEditClampsWhenLeft();
    void spinEditWithoutLimits();
    void spinEditValueFallsBackToTheMinimum();
    void spinEditTypingAndStepping();
    void messageBoxesAreAnsweredWithoutBlocking();
    void beepsCanBeCounted();
};

void TestFramework::stringToFloat()
{
    QCOMPARE(StrToFloat("1.5"), 1.5);
    QCOMPARE(StrToFloat("  2.25 "), 2.25);
    QCOMPARE(StrToFloat("-3"), -3.0);
    QCOMPARE(StrToFloat("+4."), 4.0);
    QCOMPARE(StrToFloat(".5"), 0.5);
    QCOMPARE(StrToFloat("-.5"), -0.5);
    QCOMPARE(StrToFloat("1e3"), 1000.0);
    QCOMPARE(StrToFloat("2.5E-2"), 0.025);
    QCOMPARE(StrToFloat("1E+2"), 100.0);
    QCOMPARE(StrToFloat("0.1"), 0.1);
    QCOMPARE(StrToFloat("99.999"), 99.999);
    QVERIFY(std::signbit(StrToFloat("-0")));
}

void TestFramework::stringToFloatRejects()
{
    for (const char *text : {"", " ", "-", "+", ".", "-.", "5-", "1.2.3", "1e", "1e+", "e5",
                             "inf", "nan", "NaN", "infinity", "0x10", "1,5", "abc", "1 2",
                             "1.5x", "--1", "1e5.5"})
        QCOMPARE(ConversionError(text),
                 QStringLiteral("'%1' is not a valid floating point value").arg(text));
}

void TestFramework::stringToFloatWithTheLocalesSeparator()
{
    const LocaleGuard comma(CommaLocale());
    QCOMPARE(DecimalSeparator(), QLatin1Char(','));
    QCOMPARE(StrToFloat("1,5"), 1.5);
    QCOMPARE(StrToFloat("-,25"), -0.25);
    QCOMPARE(ConversionError("1.5"), QStringLiteral("'1.5' is not a valid floating point value"));
}

void TestFramework::stringToFloatOutOfRange()
{
    QVERIFY_THROWS_EXCEPTION(OverflowError, StrToFloat("1e400"));
    QVERIFY_THROWS_EXCEPTION(OverflowError, StrToFloat("-1e309"));
    QVERIFY_THROWS_EXCEPTION(OverflowError, StrToFloat("0.001e99999999999999"));
    QVERIFY_THROWS_EXCEPTION(OverflowError, StrToFloat(QString(400, QLatin1Char('9'))));
    QCOMPARE(StrToFloat("1e-400"), 0.0);
    QVERIFY(std::signbit(StrToFloat("-1e-400")));
    QCOMPARE(StrToFloat("1000e-99999999999999"), 0.0);
    QCOMPARE(StrToFloat("0e99999"), 0.0);
    QCOMPARE(StrToFloat("1.7976931348623157e308"), std::numeric_limits<double>::max());
    QCOMPARE(StrToFloat("5e-324"), std::numeric_limits<double>::denorm_min());
}

void TestFramework::floatToString()
{
    // The general format with 15 significant digits.
    QCOMPARE(FloatToStr(1.0), QStringLiteral("1"));
    QCOMPARE(FloatToStr(-1.0), QStringLiteral("-1"));
    QCOMPARE(FloatToStr(99.999), QStringLiteral("99.999"));
    QCOMPARE(FloatToStr(0.0), QStringLiteral("0"));
    QCOMPARE(FloatToStr(0.1 + 0.2), QStringLiteral("0.3"));
    QCOMPARE(FloatToStr(1.0 / 3), QStringLiteral("0.333333333333333"));
    QCOMPARE(FloatToStr(2.0 / 3), QStringLiteral("0.666666666666667"));
    QCOMPARE(FloatToStr(1500.0), QStringLiteral("1500"));
    QCOMPARE(FloatToStr(123456789012345.0), QStringLiteral("123456789012345"));
    QCOMPARE(FloatToStr(1e15), QStringLiteral("1E15"));
    QCOMPARE(FloatToStr(-2.5e20), QStringLiteral("-2.5E20"));
    QCOMPARE(FloatToStr(0.00001), QStringLiteral("0.00001"));
    QCOMPARE(FloatToStr(0.000012), QStringLiteral("0.000012"));
    QCOMPARE(FloatToStr(1.5e-6), QStringLiteral("1.5E-6"));
    const LocaleGuard comma(CommaLocale());
    QCOMPARE(FloatToStr(2.5), QStringLiteral("2,5"));
    QCOMPARE(FloatToStr(-1.5e-6), QStringLiteral("-1,5E-6"));
}

void TestFramework::integerConversions()
{
    QCOMPARE(StrToInt("42"), 42);
    QCOMPARE(StrToInt("  -7"), -7);
    QCOMPARE(StrToInt("+3"), 3);
    QCOMPARE(StrToInt("007"), 7);
    QCOMPARE(StrToInt("2147483647"), 2147483647);
    QCOMPARE(StrToInt("-2147483648"), -2147483647 - 1);
    for (const char *text : {"", "-", "2147483648", "-2147483649", "1.0", "12a", "0x1F", "5 ",
                             "1e3", "- 5"}) {
        QString message;
        try {
            StrToInt(text);
        } catch (const EConvertError &error) {
            message = QString::fromUtf8(error.what());
        }
        QCOMPARE(message, QStringLiteral("'%1' is not a valid integer value").arg(text));
    }
    QCOMPARE(IntToStr(-12), QStringLiteral("-12"));
    QCOMPARE(IntToStr(0), QStringLiteral("0"));
}

void TestFramework::defaultHandlerAddsTheFullStop()
{
    CalculatorSession session;
    // A "." is added when the last character sorts after "." (code 46).
    const QList<QPair<QString, QString>> cases = {
        {"Boom", "Boom."},     {"Done.", "Done."},   {"Really!", "Really!"},
        {"(x)", "(x)"},        {"Why?", "Why?."},    {"n = 5", "n = 5."},
        {"a-", "a-"},          {"a/", "a/."},        {"", ""},
        {"café", "café."},
    };
    for (const auto &[message, shown] : cases)
        ShowException(message);
    QCOMPARE(session.Messages().size(), cases.size());
    for (int i = 0; i < cases.size(); ++i) {
        QCOMPARE(session.Messages()[i].text, cases[i].second);
        QCOMPARE(session.Messages()[i].caption, QStringLiteral("Vardelo 32 bit"));
        QCOMPARE(session.Messages()[i].icon, QMessageBox::Critical);
    }
}

void TestFramework::guardCatchesEveryError()
{
    CalculatorSession session;
    Guarded([] { StrToFloat("x"); });
    Guarded([] { throw 42; });
    // A failing menu handler is reported and the window goes on.
    QAction item(QStringLiteral("fails"));
    ConnectGuarded(&item, &QAction::triggered, VardeloForm,
                   [](TVardeloForm *) { throw OverflowError(); });
    item.trigger();
    const QStringList texts = {session.Messages().value(0).text, session.Messages().value(1).text,
                               session.Messages().value(2).text};
    QCOMPARE(texts, (QStringList{"'x' is not a valid floating point value.",
                                 "Unexpected error.", "Floating point overflow."}));
    QVERIFY(VardeloForm->isVisible());
}

void TestFramework::okRunsItsHandlerAndThenCloses()
{
    CalculatorSession session;
    // Enter with the focus on OK, then a click on OK.
    QVERIFY(CalculatorSession::WithModalDialog([] { LaunchDialog(Sample); }, [](QDialog *) {
        QCOMPARE(QApplication::focusWidget(), Sample->OKBtn);
        PressKey(Qt::Key_Return);
    }));
    QVERIFY(CalculatorSession::WithModalDialog([] { LaunchDialog(Sample); }, [](QDialog *dialog) {
        ClickButton(dialog, "OK");
    }));
    QCOMPARE(CalculatorSession::MemoLines(), (QStringList{"COUNT 4", "done", "COUNT 4", "done"}));

    // A failing handler: the error is shown, the dialog closes all the
    // same, and the line written before the failure stays.
    VardeloForm->Memo1->clear();
    QVERIFY(CalculatorSession::WithModalDialog([] { LaunchDialog(Sample); }, [](QDialog *) {
        TypeInto(Sample->Count, "7");
        PressKey(Qt::Key_Return);  // in the spin edit: Enter goes to the default button
    }));
    QCOMPARE(CalculatorSession::MemoLines(), QStringList{"COUNT 7"});
    QCOMPARE(session.Messages().size(), 1);
    QCOMPARE(session.Messages()[0].text, QStringLiteral("Floating point division by zero."));
    QCOMPARE(Sample, nullptr);
}

void TestFramework::cancelAndEscapeRunNothing()
{
    CalculatorSession session;
    QVERIFY(CalculatorSession::WithModalDialog([] { LaunchDialog(Sample); }, [](QDialog *dialog) {
        ClickButton(dialog, "Cancel");
    }));
    QVERIFY(CalculatorSession::WithModalDialog([] { LaunchDialog(Sample); }, [](QDialog *) {
        TypeInto(Sample->Count, "5");
        PressKey(Qt::Key_Escape);
    }));
    QVERIFY(CalculatorSession::MemoLines().isEmpty());
    QVERIFY(!CalculatorSession::Modified());
}

void TestFramework::spinEditClampsWhenLeft()
{
    CalculatorSession session;
    QStringList seen;
    QVERIFY(CalculatorSession::WithModalDialog([] { LaunchDialog(Sample); }, [&](QDialog *) {
        TSpinEdit *count = Sample->Count;
        // While typing, any integer stays; leaving clamps into 2..10.
        for (const char *typed : {"11", "1", "-3", "10", "2", "6"}) {
            TypeInto(count, typed);
            seen << count->Text();
            LeaveField(count);
            seen << count->Text();
        }
        // An empty field reads as the minimum, which needs no clamping: it
        // stays empty.
        TypeInto(count, "");
        QTest::keyClick(count, Qt::Key_Backspace);
        LeaveField(count);
        seen << count->Text() << IntToStr(count->Value());
        PressKey(Qt::Key_Escape);
    }));
    QCOMPARE(seen, (QStringList{"11", "10", "1", "2", "-3", "2", "10", "10", "2", "2", "6", "6",
                                "", "2"}));
}

void TestFramework::spinEditWithoutLimits()
{
    CalculatorSession session;
    QVERIFY(CalculatorSession::WithModalDialog([] { LaunchDialog(Sample); }, [](QDialog *) {
        // Equal limits mean no limits, as for a field whose maximum is set
        // only when it is entered.
        Sample->Count->SetMinValue(0);
        Sample->Count->SetMaxValue(0);
        TypeInto(Sample->Count, "50");
        LeaveField(Sample->Count);
        QCOMPARE(Sample->Count->Text(), QStringLiteral("50"));
        Sample->Count->SetValue(-8);
        QCOMPARE(Sample->Count->Value(), -8);
        PressKey(Qt::Key_Escape);
    }));
}

void TestFramework::spinEditValueFallsBackToTheMinimum()
{
    TSpinEdit spin;
    spin.SetMinValue(3);
    spin.SetMaxValue(100000);
    for (const char *text : {"", "-", "+", "99999999999", "1-2"}) {
        spin.SetText(text);
        QCOMPARE(spin.Value(), 3);
        QCOMPARE(spin.Text(), QString::fromLatin1(text));
    }
    spin.SetText("+12");
    QCOMPARE(spin.Value(), 12);
    spin.SetValue(0);
    QCOMPARE(spin.Text(), QStringLiteral("3"));
    spin.SetValue(200000);
    QCOMPARE(spin.Text(), QStringLiteral("100000"));
}

void TestFramework::spinEditTypingAndStepping()
{
    CalculatorSession session;
    QVERIFY(CalculatorSession::WithModalDialog([] { LaunchDialog(Sample); }, [](QDialog *) {
        TSpinEdit *count = Sample->Count;
        QSignalSpy entered(count, &TSpinEdit::Enter);
        QSignalSpy left(count, &TSpinEdit::Exit);
        QSignalSpy changed(count, &TSpinEdit::Change);
        TypeInto(count, "a5.x");
        QCOMPARE(count->Text(), QStringLiteral("5"));
        QTest::keyClick(count, Qt::Key_Up);
        QCOMPARE(count->Text(), QStringLiteral("6"));
        for (int i = 0; i < 6; ++i)
            QTest::keyClick(count, Qt::Key_Up);
        QCOMPARE(count->Text(), QStringLiteral("10"));
        QTest::keyClick(count, Qt::Key_Down);
        QCOMPARE(count->Text(), QStringLiteral("9"));
        LeaveField(count);
        QCOMPARE(entered.count(), 1);
        QCOMPARE(left.count(), 1);
        QVERIFY(changed.count() >= 4);
        PressKey(Qt::Key_Escape);
    }));
}

void TestFramework::messageBoxesAreAnsweredWithoutBlocking()
{
    CalculatorSession session;
    const auto ask = [] {
        return QMessageBox::warning(nullptr, QStringLiteral("Warning"), QStringLiteral("Save?"),
                                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    };
    session.AnswerWith({QMessageBox::No, QMessageBox::Yes});
    QCOMPARE(ask(), QMessageBox::No);
    QCOMPARE(ask(), QMessageBox::Yes);
    // Without an answer the box gets its Escape button.
    QCOMPARE(ask(), QMessageBox::Cancel);
    QCOMPARE(session.Messages().size(), 3);
    QCOMPARE(session.Messages()[2].caption, QStringLiteral("Warning"));
    QCOMPARE(session.Messages()[2].text, QStringLiteral("Save?"));
    QCOMPARE(session.Messages()[2].icon, QMessageBox::Warning);
}

void TestFramework::beepsCanBeCounted()
{
    CalculatorSession session;
    Beep();
    Beep();
    QCOMPARE(session.Beeps(), 2);
}

QTEST_MAIN(TestFramework)
#include "tst_framework.moc"
