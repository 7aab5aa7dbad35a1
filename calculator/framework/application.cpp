#include "calculator/framework/application.h"

#include <QApplication>
#include <QFont>
#include <QMessageBox>

#include <exception>

namespace {

std::function<void()> &BeepHook()
{
    static std::function<void()> hook;
    return hook;
}

QString &Title()
{
    static QString title;
    return title;
}

}  // namespace

void SetApplicationTitle(const QString &title)
{
    Title() = title;
}

QString ApplicationTitle()
{
    return Title();
}

void InstallFontSubstitutes()
{
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                               {QStringLiteral("Microsoft Sans Serif"), QStringLiteral("Arial"),
                                QStringLiteral("Liberation Sans")});
}

void ShowException(const QString &message)
{
    QString text = message;
    if (!text.isEmpty() && text.back() > QLatin1Char('.'))
        text += QLatin1Char('.');
    QWidget *parent = QApplication::activeModalWidget();
    if (!parent)
        parent = QApplication::activeWindow();
    QMessageBox box(QMessageBox::Critical, ApplicationTitle(), text, QMessageBox::Ok, parent);
    box.exec();
}

void HandleException() noexcept
{
    try {
        try {
            throw;
        } catch (const std::exception &error) {
            ShowException(QString::fromUtf8(error.what()));
        } catch (...) {
            ShowException(QStringLiteral("Unexpected error"));
        }
    } catch (...) {
        // Showing the message failed as well (out of memory): nothing more
        // can be done, and the program goes on.
    }
}

QPushButton *CreateCancelButton(QDialog *dialog)
{
    auto *button = new QPushButton(QStringLiteral("Cancel"), dialog);
    QObject::connect(button, &QPushButton::clicked, dialog, &QDialog::reject);
    return button;
}

void Beep()
{
    if (BeepHook())
        BeepHook()();
    else
        QApplication::beep();
}

void SetBeepHook(std::function<void()> hook)
{
    BeepHook() = std::move(hook);
}
