// Support for the widget tests of the calculator: the real main window,
// the real menu commands and modal dialogs, driven with key clicks and
// focus changes.
//
// A dialog test looks like this:
//
//     void TestBinomial::enterAtOnce()
//     {
//         CalculatorSession session;            // main window, empty document
//         QVERIFY(session.Choose<TScBinomial>("Binomial1", [](TScBinomial *dialog) {
//             TypeInto(dialog->Probability, "0.25");  // key clicks: the key filter runs
//             LeaveField(dialog->Probability);        // Tab: the exit check runs
//             PressKey(Qt::Key_Return);               // to the focus widget: OK
//         }));
//         QCOMPARE(session.MemoLines(), (QStringList{
//             "BINOMIAL PROBABILITY  (n = 4, x = 2, p = 0.25)", "", ...}));
//         QVERIFY(session.Messages().isEmpty());    // no message box came up
//         QCOMPARE(session.Beeps(), 0);
//     }
//
// Choose() triggers the menu item and calls the callback once the dialog
// it opens is the active modal window; a dialog still open when the
// callback returns is cancelled and the test fails.  Every message box
// that comes up meanwhile (the default handler's error box, a dialog's own
// message) is recorded and answered with the next button of AnswerWith(),
// else with its Escape button, so no test ever blocks on one.
#pragma once

#include <QDialog>
#include <QList>
#include <QLocale>
#include <QMessageBox>
#include <QString>
#include <QStringList>
#include <QTest>
#include <QTimer>

#include <functional>

#include <sys/resource.h>

class QAction;
class QWidget;

// How long a test waits for a window to become active.  Generous, because
// a loaded machine (and the sanitizer build) can take seconds; a window
// that is already active costs nothing.
constexpr int ActivationTimeout = 30000;

// A message box that came up, as the user saw it.
struct ShownMessage {
    QString caption;
    QString text;
    QMessageBox::Icon icon;
};

class CalculatorSession {
public:
    // Starts the calculator as the program does and waits until its main
    // window is active.
    CalculatorSession();
    // Closes and destroys the main window.
    ~CalculatorSession();
    CalculatorSession(const CalculatorSession &) = delete;
    CalculatorSession &operator=(const CalculatorSession &) = delete;

    // The menu item with this component name ("Binomial1", "Open1", ...).
    static QAction *MenuItem(const char *name);

    // Triggers the menu item and runs `act` inside the modal dialog that it
    // opens.  False when no dialog opened.
    bool Choose(const char *item, const std::function<void(QDialog *)> &act);

    template <class Dialog>
    bool Choose(const char *item, const std::function<void(Dialog *)> &act)
    {
        return Choose(item, [&act](QDialog *dialog) {
            auto *typed = qobject_cast<Dialog *>(dialog);
            QVERIFY2(typed, "the command opened a dialog of another class");
            act(typed);
        });
    }

    // Runs `open`, which shows a modal dialog and returns when it closes,
    // and `act` inside that dialog.  False when no dialog opened.
    static bool WithModalDialog(const std::function<void()> &open,
                                const std::function<void(QDialog *)> &act);

    // The results document: its lines (a final line break ends the last
    // line, it does not start an empty one) and its modified flag.
    static QStringList MemoLines();
    static bool Modified();
    // Empties the results document as its clear() does; makes `text` the
    // whole document with the modified flag given.
    static void ClearDocument();
    static void SetDocument(const QString &text, bool modified);

    // The message boxes that came up so far, in order.
    const QList<ShownMessage> &Messages() const { return messages_; }
    void ClearMessages() { messages_.clear(); }
    // Buttons to answer the next message boxes with, in order.
    void AnswerWith(QList<QMessageBox::StandardButton> buttons) { answers_ = std::move(buttons); }

    // The beeps since the session started.
    int Beeps() const { return beeps_; }

private:
    void AnswerMessageBox();

    QTimer messageWatch_;
    QList<ShownMessage> messages_;
    QList<QMessageBox::StandardButton> answers_;
    int beeps_ = 0;
};

// Makes a locale the default, the one whose decimal separator the
// calculator reads, while the guard exists; then the default is again the
// locale it was before.
class LocaleGuard {
public:
    explicit LocaleGuard(const QLocale &locale);
    ~LocaleGuard();
    LocaleGuard(const LocaleGuard &) = delete;
    LocaleGuard &operator=(const LocaleGuard &) = delete;

private:
    QLocale previous_;
};

// A locale whose decimal separator is a comma (German).
QLocale CommaLocale();

// Gives the field the focus as tabbing into it does, selects its whole
// text when `replace` is set, and types `text` with key clicks.
void TypeInto(QWidget *field, const QString &text, bool replace = true);

// Moves the focus from the field to the next one with Tab, so that the
// field's exit check runs.
void LeaveField(QWidget *field);

// Presses a key (Qt::Key_Return, Qt::Key_Escape, ...) in the widget that
// has the focus.
void PressKey(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);

// Clicks the push button with this caption ("OK", "Cancel") in the dialog.
void ClickButton(QDialog *dialog, const QString &caption);

// Answers an open or save dialog (a QFileDialog) as a user who writes the
// file's whole path into its file name field and presses Enter.
void AnswerFileDialog(QDialog *dialog, const QString &path);

// Lets no file of the process grow beyond `bytes` while it exists: a
// write past the limit fails with "File too large", as on a full disk.
// The calculator ignores SIGXFSZ from its start on, which the limit needs:
// the signal would otherwise end the test program, so the limit fails the
// test and stays off when the signal is not ignored.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

private:
    rlimit saved_{};
};
