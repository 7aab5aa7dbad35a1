#include "calculator/numedit.h"

#include "calculator/framework/application.h"
#include "calculator/framework/convert.h"

#include <QFocusEvent>
#include <QKeyEvent>

namespace {

constexpr QChar Backspace(8);

// "," and "." as the locale's decimal separator.
QString WithLocaleSeparator(QString text)
{
    const QChar separator = DecimalSeparator();
    for (QChar &c : text)
        if (c == QLatin1Char(',') || c == QLatin1Char('.'))
            c = separator;
    return text;
}

// Keys that reach the line edit or the dialog unfiltered: they move the
// caret, delete, or belong to the dialog (OK, Cancel, the focus chain).
bool IsNonCharacterKey(const QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Delete:
        return true;
    default:
        return event->text().isEmpty();
    }
}

// Ctrl, Alt or Meta turn a key into a command or a control character;
// Ctrl together with Alt is AltGr, which types ordinary characters.
bool IsCommandKey(const QKeyEvent *event)
{
    const Qt::KeyboardModifiers held = event->modifiers();
    const bool ctrl = held & Qt::ControlModifier;
    const bool alt = held & Qt::AltModifier;
    return (held & Qt::MetaModifier) || ctrl != alt;
}

}  // namespace

double StrToNumber(const QString &S)
{
    if (S.isEmpty())
        return 0;
    return StrToFloat(WithLocaleSeparator(S));
}

TNumEdit::TNumEdit(QWidget *parent) : QLineEdit(parent)
{
    // Characters come one by one through keyPressEvent, also from an
    // input method.
    setAttribute(Qt::WA_InputMethodEnabled, false);
}

double TNumEdit::GetValue() const noexcept
{
    try {
        return StrToNumber(text());
    } catch (...) {
        return FMinimum;
    }
}

void TNumEdit::SetValue(double X)
{
    setText(FloatToStr(X));
}

void TNumEdit::KeyPress(QChar &Key) const
{
    const QChar separator = DecimalSeparator();
    const QChar minus = QLatin1Char('-');
    if (Key == QLatin1Char(',') || Key == QLatin1Char('.'))
        Key = separator;
    const bool digit = Key >= QLatin1Char('0') && Key <= QLatin1Char('9');
    if (Key.unicode() > 255 || !(Key == Backspace || Key == minus || digit || Key == separator))
        Key = QChar();
    else if ((Key == minus || Key == separator) && text().contains(Key))
        Key = QChar();
    else if (FpositiveOnly && Key == minus)
        Key = QChar();
    else if (FintegerOnly && Key == separator)
        Key = QChar();
}

void TNumEdit::keyPressEvent(QKeyEvent *event)
{
    if (IsNonCharacterKey(event)) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    // Several characters in one event come from a composed key; none of
    // them is a number's character on its own.
    QChar key = IsCommandKey(event) || event->text().size() != 1 ? QChar() : event->text()[0];
    KeyPress(key);
    if (key.isNull()) {
        event->accept();
        return;
    }
    QKeyEvent typed(event->type(), event->key(), event->modifiers(), QString(key),
                    event->isAutoRepeat(), static_cast<quint16>(event->count()));
    QLineEdit::keyPressEvent(&typed);
    event->setAccepted(typed.isAccepted());
}

void TNumEdit::CreateWnd()
{
    setText(WithLocaleSeparator(text()));
}

void TNumEdit::showEvent(QShowEvent *event)
{
    if (!created_) {
        created_ = true;
        CreateWnd();
    }
    QLineEdit::showEvent(event);
}

void TNumEdit::CMExit()
{
    if (!FCheckRange)
        return;
    if (StrToNumber(text()) < FMinimum) {
        Beep();
        setText(FloatToStr(FMinimum));
    }
    if (StrToNumber(text()) > Fmaximum) {
        Beep();
        setText(FloatToStr(Fmaximum));
    }
}

void TNumEdit::focusOutEvent(QFocusEvent *event)
{
    // The focus moves to another control; not when another window (a
    // message box, the context menu of the field) becomes active.
    const bool toAnotherControl = event->reason() != Qt::ActiveWindowFocusReason
                                  && event->reason() != Qt::PopupFocusReason;
    if (toAnotherControl && !inExit_) {
        inExit_ = true;
        Guarded([this] { CMExit(); });
        inExit_ = false;
    }
    QLineEdit::focusOutEvent(event);
}
