// vardelo: the probability calculator.
#include "calculator/vardelo2.h"

#include <QApplication>
#include <QByteArrayList>
#include <QList>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// Whether a platform is named by QT_QPA_PLATFORM or -platform (the tests'
// offscreen one); without one, Qt opens the display of the environment.
bool PlatformNamed(int argc, char *argv[])
{
    if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        return true;
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], "-platform") == 0 || std::strcmp(argv[i], "--platform") == 0)
            return true;
    return false;
}

// The X and Wayland displays of the environment: ":0", "wayland-0" or
// both, joined by " or "; empty when there is none.
const QByteArray &Displays()
{
    static const QByteArray displays = [] {
        QByteArrayList names;
        for (const char *variable : {"DISPLAY", "WAYLAND_DISPLAY"})
            if (!qEnvironmentVariableIsEmpty(variable))
                names.append(qgetenv(variable));
        return names.join(" or ");
    }();
    return displays;
}

// Says that the calculator needs a graphical session, after the displays
// that could not be opened, if any.
void SayNoDisplay(const QByteArray &displays)
{
    const QByteArray unopened =
        displays.isEmpty() ? QByteArray() : "cannot open display " + displays + ": ";
    std::fprintf(stderr,
                 "vardelo: %sthe calculator needs a graphical session (an X or Wayland display; "
                 "QT_QPA_PLATFORM=offscreen for tests)\n",
                 unopened.constData());
}

// What Qt says while it opens the display of the environment is held back.
// When no display can be opened, Qt ends with its advice to reinstall the
// program and aborts it; the program says instead in one line which
// display it could not open, and ends with exit code 1.  Otherwise the
// messages go on as they came once the application is up.
struct HeldMessage {
    QtMsgType type;
    QByteArray file, function, category;
    int line;
    QString text;
};

QList<HeldMessage> &HeldMessages()
{
    static QList<HeldMessage> messages;
    return messages;
}

void HoldMessage(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    if (type == QtFatalMsg) {
        SayNoDisplay(Displays());
        std::_Exit(1);
    }
    HeldMessages().append(
        {type, context.file, context.function, context.category, context.line, text});
}

void PassOnHeldMessages(QtMessageHandler handler)
{
    // A part of the context that Qt left out stays out.
    const auto part = [](const QByteArray &bytes) {
        return bytes.isNull() ? nullptr : bytes.constData();
    };
    for (const HeldMessage &message : std::as_const(HeldMessages()))
        handler(message.type,
                QMessageLogContext(part(message.file), message.line, part(message.function),
                                   part(message.category)),
                message.text);
    HeldMessages().clear();
}

}  // namespace

int main(int argc, char *argv[])
{
    const bool named = PlatformNamed(argc, argv);
    if (!named && Displays().isEmpty()) {
        SayNoDisplay({});
        return 1;
    }
    const QtMessageHandler previous = named ? nullptr : qInstallMessageHandler(HoldMessage);
    QApplication app(argc, argv);
    if (!named) {
        qInstallMessageHandler(previous);
        PassOnHeldMessages(previous);
    }
    StartVardelo();
    const int result = QApplication::exec();
    delete VardeloForm;
    return result;
}
