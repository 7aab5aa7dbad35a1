// The application services of the calculator: its title, the default
// exception handler, the guard that every event handler runs through, and
// the beep.
//
// Errors are exceptions (std::exception and its kinds: EConvertError, the
// floating-point errors of stats/fperror.h, ...).  No exception may cross
// Qt's event loop, so every handler that can fail is connected through the
// guard, which hands whatever it throws to the default handler: a message
// box with the error's text, captioned with the application title.  The
// program then goes on as before the failing command.
//
// How a form connects its handlers:
//
//     // menu items, buttons, any signal
//     ConnectGuarded(Binomial1, &QAction::triggered, this, &TVardeloForm::Binomial1Click);
//     // a dialog's OK and Cancel buttons (OK runs its handler, then closes)
//     OKBtn = CreateOkButton(this, &TScBinomial::OKBtnClick);
//     CancelBtn = CreateCancelButton(this);
//     // inside an overridden event handler of a widget
//     void TNumEdit::focusOutEvent(QFocusEvent *event)
//     {
//         Guarded([this] { CMExit(); });
//         QLineEdit::focusOutEvent(event);
//     }
#pragma once

#include <QDialog>
#include <QObject>
#include <QPushButton>
#include <QString>

#include <functional>
#include <utility>

// The application title: the caption of the default handler's error
// boxes.  It is the program's own setting and not Qt's application display
// name, which the xcb platform would append to every window title ("Warning
// — Vardelo 32 bit"): each window's caption stands alone.
void SetApplicationTitle(const QString &title);
QString ApplicationTitle();

// Lets faces with the metrics of the forms' fonts stand in where those
// fonts are missing, so that labels take the room they were drawn for:
// MS Sans Serif, which fontconfig would replace by its default sans-serif
// face (DejaVu Sans, an eighth wider), falls back to its TrueType
// successor, to Arial or to Arial's metric twin Liberation Sans.  Times New
// Roman, Arial and Courier New find their Liberation twins through
// fontconfig's own aliases.  Called once at the start, before any form is
// created.
void InstallFontSubstitutes();

// Shows a message in a box captioned with the application title, with the
// error icon and an OK button; adds a "." when the last character of the
// message sorts after ".".  Returns when the user has closed the box.
void ShowException(const QString &message);

// The default handler: called inside a catch block, shows the current
// exception with ShowException.
void HandleException() noexcept;

// Runs a handler; whatever it throws goes to the default handler.
template <class Handler>
void Guarded(Handler &&handler) noexcept
{
    try {
        std::forward<Handler>(handler)();
    } catch (...) {
        HandleException();
    }
}

// Connects a signal to a handler of the receiver, a member function
// without parameters, through the guard.  The signal's arguments are
// dropped; the connection ends with the receiver.
template <class Sender, class Signal, class Receiver, class Handler>
QMetaObject::Connection ConnectGuarded(Sender *sender, Signal signal, Receiver *receiver,
                                       Handler handler)
{
    return QObject::connect(sender, signal, receiver, [receiver, handler] {
        Guarded([&] { std::invoke(handler, receiver); });
    });
}

// The OK button of a dialog: caption "OK", the default button (Enter); a
// click runs the handler through the guard and then closes the dialog as
// accepted, also when the handler failed.
template <class Dialog>
QPushButton *CreateOkButton(Dialog *dialog, void (Dialog::*handler)())
{
    auto *button = new QPushButton(QStringLiteral("OK"), dialog);
    button->setDefault(true);
    QObject::connect(button, &QPushButton::clicked, dialog, [dialog, handler] {
        Guarded([&] { (dialog->*handler)(); });
        dialog->accept();
    });
    return button;
}

// The Cancel button of a dialog: caption "Cancel"; a click closes the
// dialog as rejected, as Esc does.
QPushButton *CreateCancelButton(QDialog *dialog);

// The system beep.  Tests replace it to count beeps; an empty hook
// restores the real one.
void Beep();
void SetBeepHook(std::function<void()> hook);
