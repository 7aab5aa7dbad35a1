#include "support/calculatortest.h"

#include "calculator/framework/application.h"
#include "calculator/vardelo2.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QAbstractSpinBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>

#include <csignal>

namespace {

// How often the open modal windows are looked at.
constexpr int PollMilliseconds = 5;

}  // namespace

CalculatorSession::CalculatorSession()
{
    // Closing the main window must not end the test program.
    QApplication::setQuitOnLastWindowClosed(false);
    SetBeepHook([this] { ++beeps_; });
    messageWatch_.setInterval(PollMilliseconds);
    QObject::connect(&messageWatch_, &QTimer::timeout, [this] { AnswerMessageBox(); });
    messageWatch_.start();
    StartVardelo();
    if (!QTest::qWaitForWindowActive(VardeloForm, ActivationTimeout))
        qWarning("the main window did not become active");
}

CalculatorSession::~CalculatorSession()
{
    delete VardeloForm;
    messageWatch_.stop();
    SetBeepHook({});
}

QAction *CalculatorSession::MenuItem(const char *name)
{
    return VardeloForm->findChild<QAction *>(QLatin1String(name));
}

void CalculatorSession::AnswerMessageBox()
{
    auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
    if (!box || !box->isVisible())
        return;
    messages_.append({box->windowTitle(), box->text(), box->icon()});
    QAbstractButton *button = nullptr;
    if (!answers_.isEmpty())
        button = box->button(answers_.takeFirst());
    if (!button)
        button = box->escapeButton();
    if (!button)
        button = box->defaultButton();
    if (!button && !box->buttons().isEmpty())
        button = box->buttons().first();
    if (button)
        button->click();
    else
        box->reject();
}

bool CalculatorSession::Choose(const char *item, const std::function<void(QDialog *)> &act)
{
    QAction *action = MenuItem(item);
    if (!action) {
        qWarning("no menu item %s", item);
        return false;
    }
    return WithModalDialog([action] { action->trigger(); }, act);
}

bool CalculatorSession::WithModalDialog(const std::function<void()> &open,
                                        const std::function<void(QDialog *)> &act)
{
    bool opened = false;
    QTimer watch;
    watch.setInterval(PollMilliseconds);
    QObject::connect(&watch, &QTimer::timeout, [&] {
        auto *found = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (!found || qobject_cast<QMessageBox *>(found) || !found->isVisible())
            return;
        watch.stop();
        opened = true;
        QPointer<QDialog> dialog(found);
        // The window system may report the dialog's window active before
        // the application has made it the active window of its widgets,
        // which is where the keys go.
        if (!QTest::qWaitForWindowActive(dialog, ActivationTimeout)
            || !QTest::qWaitFor([&] { return !dialog || dialog->isActiveWindow(); },
                                ActivationTimeout))
            qWarning("the dialog did not become active");
        if (dialog)
            act(dialog);
        if (dialog && dialog->isVisible()) {
            dialog->reject();
            QTest::qFail("the dialog was still open after the test's actions", __FILE__,
                         __LINE__);
        }
    });
    watch.start();
    open();
    watch.stop();
    return opened;
}

QStringList CalculatorSession::MemoLines()
{
    QString text = VardeloForm->Memo1->toPlainText();
    if (text.isEmpty())
        return {};
    if (text.endsWith(QLatin1Char('\n')))
        text.chop(1);
    return text.split(QLatin1Char('\n'));
}

bool CalculatorSession::Modified()
{
    return VardeloForm->Memo1->document()->isModified();
}

void CalculatorSession::ClearDocument()
{
    VardeloForm->Memo1->clear();
}

void CalculatorSession::SetDocument(const QString &text, bool modified)
{
    VardeloForm->Memo1->setPlainText(text);
    VardeloForm->Memo1->document()->setModified(modified);
}

LocaleGuard::LocaleGuard(const QLocale &locale)
{
    QLocale::setDefault(locale);
}

LocaleGuard::~LocaleGuard()
{
    QLocale::setDefault(previous_);
}

QLocale CommaLocale()
{
    return QLocale(QLocale::German, QLocale::Germany);
}

void TypeInto(QWidget *field, const QString &text, bool replace)
{
    field->setFocus(Qt::TabFocusReason);
    if (replace) {
        if (auto *edit = qobject_cast<QLineEdit *>(field))
            edit->selectAll();
        else if (auto *spin = qobject_cast<QAbstractSpinBox *>(field))
            spin->selectAll();
    }
    QTest::keyClicks(field, text);
}

void LeaveField(QWidget *field)
{
    if (!field->hasFocus())
        field->setFocus(Qt::TabFocusReason);
    QTest::keyClick(field, Qt::Key_Tab);
}

void PressKey(Qt::Key key, Qt::KeyboardModifiers modifiers)
{
    QWidget *target = QApplication::focusWidget();
    if (!target)
        target = QApplication::activeWindow();
    QTest::keyClick(target, key, modifiers);
}

void ClickButton(QDialog *dialog, const QString &caption)
{
    const auto buttons = dialog->findChildren<QPushButton *>();
    for (QPushButton *button : buttons)
        if (button->text() == caption) {
            QTest::mouseClick(button, Qt::LeftButton);
            return;
        }
    QTest::qFail(qPrintable(QStringLiteral("no button \"%1\"").arg(caption)), __FILE__, __LINE__);
}

void AnswerFileDialog(QDialog *dialog, const QString &path)
{
    auto *fileDialog = qobject_cast<QFileDialog *>(dialog);
    auto *field = fileDialog ? fileDialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))
                             : nullptr;
    if (!field) {
        QTest::qFail("not a file dialog with a file name field", __FILE__, __LINE__);
        return;
    }
    field->setFocus();
    field->setText(path);
    QTest::keyClick(field, Qt::Key_Return);
}

FileSizeLimit::FileSizeLimit(rlim_t bytes)
{
    getrlimit(RLIMIT_FSIZE, &saved_);
    struct sigaction action {};
    sigaction(SIGXFSZ, nullptr, &action);
    if (action.sa_handler != SIG_IGN) {
        QTest::qFail("SIGXFSZ is not ignored: a write past the limit would end the program",
                     __FILE__, __LINE__);
        return;
    }
    rlimit limit = saved_;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
}

FileSizeLimit::~FileSizeLimit()
{
    setrlimit(RLIMIT_FSIZE, &saved_);
}
