// The number-entry control: its key filter, the separator rewrite when it
// is first shown, the range check when the focus leaves it, and Value.
#include "support/calculatortest.h"

#include "calculator/framework/application.h"
#include "calculator/framework/convert.h"
#include "calculator/numedit.h"
#include "calculator/results.h"
#include "calculator/vardelo2.h"

#include <QApplication>
#include <QClipboard>
#include <QFocusEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>

namespace {

// A key that types `text`, as the platform delivers it.
void TypeKey(QWidget *field, Qt::Key key, const QString &text,
             Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QTest::sendKeyEvent(QTest::Click, field, key, text, modifiers);
}

}  // namespace

// A dialog with one number field, a plain field after it and OK.
class THost : public QDialog {
    Q_OBJECT
public:
    explicit THost(QWidget *parent) : QDialog(parent)
    {
        Edit = new TNumEdit(this);
        Next = new QLineEdit(this);
        OKBtn = CreateOkButton(this, &THost::OKBtnClick);
        auto *layout = new QVBoxLayout(this);
        layout->addWidget(Edit);
        layout->addWidget(Next);
        layout->addWidget(OKBtn);
        Edit->setFocus();
    }
    void OKBtnClick() { AppendLine("OK " + Edit->text()); }

    TNumEdit *Edit;
    QLineEdit *Next;
    QPushButton *OKBtn;
};
THost *Host = nullptr;

// The offscreen platform leaves no window active once a message box has
// closed; a window manager gives the activation back to the dialog.
static void BackToHost()
{
    Host->activateWindow();
    QVERIFY(QTest::qWaitFor([] { return QApplication::activeWindow() == Host; },
                            ActivationTimeout));
}

class TestNumEdit : public QObject {
    Q_OBJECT

private slots:
    void keyFilter();
    void keyFilterWithCommaSeparator();
    void flagsRefuseMinusAndSeparator();
    void typingOverASelection();
    void controlCharactersAndWideCharacters();
    void editingAndDialogKeysStillWork();
    void pastedTextIsNotFiltered();
    void separatorsRewrittenWhenFirstShown();
    void rangeCheckWhenLeaving();
    void rangeCheckUnderCommaLocale();
    void exitCheckConversionError();
    void noCheckWhenAnotherWindowTakesTheFocus();
    void valueAndStrToNumber();
};

// Runs `act` inside the host dialog, which it must close.
static void InHost(const std::function<void(TNumEdit *)> &act)
{
    QVERIFY(CalculatorSession::WithModalDialog([] { LaunchDialog(Host); },
                                               [&](QDialog *) { act(Host->Edit); }));
}

void TestNumEdit::keyFilter()
{
    CalculatorSession session;
    InHost([](TNumEdit *edit) {
        // Letters and blanks are refused; one "." and one "-", which may
        // stand anywhere.
        TypeInto(edit, "a1b.2.3-4 -x");
        QCOMPARE(edit->text(), QStringLiteral("1.23-4"));
        // A comma is the separator too, and so refused after the point.
        // The "-" typed over the selected text is refused: the text holds one.
        TypeInto(edit, "-5,25,");
        QCOMPARE(edit->text(), QStringLiteral("5.25"));
        TypeInto(edit, "+1e5");
        QCOMPARE(edit->text(), QStringLiteral("15"));
        PressKey(Qt::Key_Escape);
    });
}

void TestNumEdit::keyFilterWithCommaSeparator()
{
    const LocaleGuard comma(CommaLocale());
    CalculatorSession session;
    InHost([](TNumEdit *edit) {
        TypeInto(edit, "1.5");
        QCOMPARE(edit->text(), QStringLiteral("1,5"));
        // A second separator is refused, typed as "." or as ",".
        TypeInto(edit, ".", false);
        TypeInto(edit, ",", false);
        QCOMPARE(edit->text(), QStringLiteral("1,5"));
        TypeInto(edit, "0,25");
        QCOMPARE(edit->text(), QStringLiteral("0,25"));
        PressKey(Qt::Key_Escape);
    });
}

void TestNumEdit::flagsRefuseMinusAndSeparator()
{
    CalculatorSession session;
    InHost([](TNumEdit *edit) {
        edit->SetPositiveOnly(true);
        TypeInto(edit, "-1.5-");
        QCOMPARE(edit->text(), QStringLiteral("1.5"));
        edit->SetPositiveOnly(false);
        edit->SetIntegerOnly(true);
        TypeInto(edit, "-1.5,2");
        QCOMPARE(edit->text(), QStringLiteral("-152"));
        PressKey(Qt::Key_Escape);
    });
}

void TestNumEdit::typingOverASelection()
{
    CalculatorSession session;
    InHost([](TNumEdit *edit) {
        edit->setText("-2.5");
        // A digit replaces the selected text.
        TypeInto(edit, "7");
        QCOMPARE(edit->text(), QStringLiteral("7"));
        // The whole text counts, also the part that the key would replace.
        edit->setText("-2.5");
        TypeInto(edit, "-");
        QCOMPARE(edit->text(), QStringLiteral("-2.5"));
        edit->setText("-2.5");
        TypeInto(edit, ".");
        QCOMPARE(edit->text(), QStringLiteral("-2.5"));
        PressKey(Qt::Key_Escape);
    });
}

void TestNumEdit::controlCharactersAndWideCharacters()
{
    CalculatorSession session;
    QApplication::clipboard()->setText("12");
    InHost([](TNumEdit *edit) {
        TypeInto(edit, "5");
        // Ctrl+V as the test library and as a keyboard deliver it.
        QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
        TypeKey(edit, Qt::Key_V, QString(QChar(0x16)), Qt::ControlModifier);
        // Ctrl+A and Ctrl+Backspace are control characters as well.
        TypeKey(edit, Qt::Key_A, QString(QChar(0x01)), Qt::ControlModifier);
        TypeKey(edit, Qt::Key_Backspace, QString(QChar(0x7f)), Qt::ControlModifier);
        // Digits of other scripts (code above 255) and the superscript two
        // (code 178, no digit 0 to 9).
        TypeKey(edit, Qt::Key_unknown, QString(QChar(0x0663)));
        TypeKey(edit, Qt::Key_twosuperior, QString(QChar(0x00b2)));
        TypeKey(edit, Qt::Key_unknown, QStringLiteral("12"));
        QCOMPARE(edit->text(), QStringLiteral("5"));
        PressKey(Qt::Key_Escape);
    });
}

void TestNumEdit::editingAndDialogKeysStillWork()
{
    CalculatorSession session;
    InHost([](TNumEdit *edit) {
        TypeInto(edit, "123");
        QTest::keyClick(edit, Qt::Key_Home);
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClick(edit, Qt::Key_Right);
        QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClick(edit, Qt::Key_End);
        TypeInto(edit, "4", false);
        QCOMPARE(edit->text(), QStringLiteral("34"));
        // Tab moves on; Shift+Tab comes back.
        QTest::keyClick(edit, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), Host->Next);
        QTest::keyClick(Host->Next, Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(QApplication::focusWidget(), edit);
        // Enter in the field presses the default button.
        PressKey(Qt::Key_Enter);
    });
    QVERIFY(CalculatorSession::WithModalDialog([] { LaunchDialog(Host); }, [](QDialog *) {
        PressKey(Qt::Key_Escape);
    }));
    QCOMPARE(CalculatorSession::MemoLines(), QStringList{"OK 34"});
}

void TestNumEdit::pastedTextIsNotFiltered()
{
    CalculatorSession session;
    QApplication::clipboard()->setText("x1,5.2");
    InHost([](TNumEdit *edit) {
        // What the context menu's Paste does.
        edit->selectAll();
        edit->paste();
        QCOMPARE(edit->text(), QStringLiteral("x1,5.2"));
        PressKey(Qt::Key_Escape);
    });
}

void TestNumEdit::separatorsRewrittenWhenFirstShown()
{
    const LocaleGuard comma(CommaLocale());
    TNumEdit edit;
    edit.setText("1.5,2");
    QCOMPARE(edit.text(), QStringLiteral("1.5,2"));
    edit.show();
    QCOMPARE(edit.text(), QStringLiteral("1,5,2"));
    // Only when first shown.
    edit.hide();
    edit.setText("0.5");
    edit.show();
    QCOMPARE(edit.text(), QStringLiteral("0.5"));
}

void TestNumEdit::rangeCheckWhenLeaving()
{
    CalculatorSession session;
    struct Case {
        double minimum, maximum;
        const char *typed, *left;
        int beeps;
    };
    const Case cases[] = {
        {0, 1, "1.5", "1", 1},           {0, 1, "1", "1", 0},
        {-1, 1, "-0.2", "-0.2", 0},      {-1, 1, "-3", "-1", 1},
        {-1, 1, "-1", "-1", 0},          {-1, 1, "1.0001", "1", 1},
        {0, 99.999, "100", "99.999", 1}, {0, 99.999, "99.999", "99.999", 0},
        // An empty field counts as 0 and stays empty.
        {0, 1, "", "", 0},
    };
    for (const Case &c : cases) {
        QStringList seen;
        const int before = session.Beeps();
        InHost([&](TNumEdit *edit) {
            edit->SetRangeCheck(true);
            edit->SetRangeMinimum(c.minimum);
            edit->SetRangeMaximum(c.maximum);
            TypeInto(edit, c.typed);
            if (QString::fromLatin1(c.typed).isEmpty())
                QTest::keyClick(edit, Qt::Key_Backspace);
            seen << edit->text();  // no check while typing
            LeaveField(edit);
            seen << edit->text();
            PressKey(Qt::Key_Escape);
        });
        QCOMPARE(seen, (QStringList{c.typed, c.left}));
        QCOMPARE(session.Beeps() - before, c.beeps);
    }
    // Without RangeCheck nothing is checked.
    InHost([](TNumEdit *edit) {
        TypeInto(edit, "1.5");
        LeaveField(edit);
        QCOMPARE(edit->text(), QStringLiteral("1.5"));
        PressKey(Qt::Key_Escape);
    });
    QVERIFY(session.Messages().isEmpty());
}

void TestNumEdit::rangeCheckUnderCommaLocale()
{
    const LocaleGuard comma(CommaLocale());
    CalculatorSession session;
    InHost([](TNumEdit *edit) {
        edit->SetRangeCheck(true);
        edit->SetRangeMaximum(99.999);
        TypeInto(edit, "100.5");
        LeaveField(edit);
        QCOMPARE(edit->text(), QStringLiteral("99,999"));
        TypeInto(edit, "99.9");
        LeaveField(edit);
        QCOMPARE(edit->text(), QStringLiteral("99,9"));
        PressKey(Qt::Key_Escape);
    });
    QCOMPARE(session.Beeps(), 1);
}

void TestNumEdit::exitCheckConversionError()
{
    CalculatorSession session;
    QApplication::clipboard()->setText("1,5.2");
    QStringList seen;
    InHost([&](TNumEdit *edit) {
        edit->SetRangeCheck(true);
        edit->SetRangeMaximum(1);
        for (const char *typed : {"-", ".", "5-"}) {
            TypeInto(edit, typed);
            LeaveField(edit);
            BackToHost();
            seen << edit->text();
        }
        // A pasted number with a comma and a point: the message shows both
        // as the separator.
        edit->setFocus();
        edit->selectAll();
        edit->paste();
        LeaveField(edit);
        BackToHost();
        seen << edit->text();
        PressKey(Qt::Key_Escape);
    });
    QCOMPARE(seen, (QStringList{"-", ".", "5-", "1,5.2"}));
    QStringList texts;
    for (const ShownMessage &message : session.Messages()) {
        texts << message.text;
        QCOMPARE(message.caption, QStringLiteral("Vardelo 32 bit"));
        QCOMPARE(message.icon, QMessageBox::Critical);
    }
    // One box per exit: the box's own focus changes do not run the check again.
    QCOMPARE(texts, (QStringList{"'-' is not a valid floating point value.",
                                 "'.' is not a valid floating point value.",
                                 "'5-' is not a valid floating point value.",
                                 "'1.5.2' is not a valid floating point value."}));
    QCOMPARE(session.Beeps(), 0);
}

void TestNumEdit::noCheckWhenAnotherWindowTakesTheFocus()
{
    CalculatorSession session;
    InHost([](TNumEdit *edit) {
        edit->SetRangeCheck(true);
        edit->SetRangeMaximum(1);
        edit->setText("5");
        // Another window becoming active, or the field's context menu.
        for (Qt::FocusReason reason : {Qt::ActiveWindowFocusReason, Qt::PopupFocusReason}) {
            QFocusEvent out(QEvent::FocusOut, reason);
            QApplication::sendEvent(edit, &out);
        }
        QCOMPARE(edit->text(), QStringLiteral("5"));
        // A click into another control runs it.
        QTest::mouseClick(Host->Next, Qt::LeftButton);
        QCOMPARE(edit->text(), QStringLiteral("1"));
        PressKey(Qt::Key_Escape);
    });
    QCOMPARE(session.Beeps(), 1);
}

void TestNumEdit::valueAndStrToNumber()
{
    TNumEdit edit;
    QCOMPARE(edit.IntegerOnly(), false);
    QCOMPARE(edit.PositiveOnly(), false);
    QCOMPARE(edit.RangeCheck(), false);
    QCOMPARE(edit.RangeMinimum(), 0.0);
    QCOMPARE(edit.RangeMaximum(), 0.0);

    edit.SetRangeMinimum(-1);
    for (const char *text : {"abc", "-", "1,5.2", "1e999"}) {
        edit.setText(text);
        QCOMPARE(edit.GetValue(), -1.0);
    }
    edit.setText("");
    QCOMPARE(edit.GetValue(), 0.0);
    edit.setText("0,25");
    QCOMPARE(edit.GetValue(), 0.25);
    edit.SetValue(1.0);
    QCOMPARE(edit.text(), QStringLiteral("1"));
    edit.SetValue(-0.125);
    QCOMPARE(edit.text(), QStringLiteral("-0.125"));

    QCOMPARE(StrToNumber(""), 0.0);
    QCOMPARE(StrToNumber("2,5"), 2.5);
    QVERIFY_THROWS_EXCEPTION(EConvertError, StrToNumber("2,5.1"));
    QVERIFY_THROWS_EXCEPTION(EConvertError, StrToNumber(" "));

    const LocaleGuard comma(CommaLocale());
    edit.SetValue(2.5);
    QCOMPARE(edit.text(), QStringLiteral("2,5"));
    QCOMPARE(edit.GetValue(), 2.5);
    QCOMPARE(StrToNumber("-1.75"), -1.75);
}

QTEST_MAIN(TestNumEdit)
#include "tst_numedit.moc"
