// The window titles of vardelo as a window manager reads them.  The
// offscreen platform of the other tests has no window titles; here the
// program itself runs on the xcb platform of a private X server (Xvfb),
// driven with keys that xdotool types, and xprop reads the two title
// properties of each window: WM_NAME and the _NET_WM_NAME that current
// window managers show.  Every caption stands alone, without the program's
// name appended.
//
// Tools: Xvfb (Debian xvfb), xprop and xwininfo (x11-utils), xdotool.
#include <QDeadlineTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QStringList>
#include <QTest>
#include <QThread>

#include <sys/prctl.h>

#include <csignal>

namespace {

// How long a window may take to come or go, and the program to end.
// Generous: the sanitizer build starts slowly on a loaded machine.
constexpr int WindowTimeout = 60000;
constexpr int PollMilliseconds = 50;

// Ends the process started with this modifier when the test program dies
// before it could stop it (a timeout of ctest, for instance).
void EndWithTheTest()
{
    ::prctl(PR_SET_PDEATHSIG, SIGTERM);
}

// Stops a process: asks first, then kills.
void Stop(QProcess &process)
{
    if (process.state() == QProcess::NotRunning)
        return;
    process.terminate();
    if (!process.waitForFinished(5000)) {
        process.kill();
        process.waitForFinished(5000);
    }
}

// What xprop reads for a window whose two title properties both hold the
// caption.
QString Both(const QString &caption)
{
    return caption + QStringLiteral(" | ") + caption;
}

}  // namespace

class TestXcbTitles : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void captionsStandAlone();

private:
    // Runs one of the X tools on the test's display and returns what it
    // printed; empty, with a recorded failure, when it failed.
    QString Tool(const QString &tool, const QStringList &arguments);
    // The mapped top-level windows of the program: those that a window
    // manager manages, or its popup menus.
    QStringList Windows(bool popups = false);
    // Waits for a window of the program that is not among `known`.
    QString NewWindow(const QStringList &known);
    // Waits until the window is gone.
    bool Gone(const QString &window);
    // Gives the window the keyboard focus and types the keys into it.
    void Type(const QString &window, const QStringList &keys);
    // Chooses the item of the Probability menu with this accelerator in
    // the main window and waits for the window that it opens.
    QString FromProbabilityMenu(const QString &main, const QString &item);
    // "WM_NAME | _NET_WM_NAME" of the window.
    QString Titles(const QString &window);

    QString xvfb_, xdotool_, xprop_, xwininfo_;
    QProcess server_;
    QProcess program_;
    QString display_;
};

void TestXcbTitles::initTestCase()
{
    const struct {
        QString *path;
        const char *name, *package;
    } tools[] = {{&xvfb_, "Xvfb", "xvfb"},
                 {&xdotool_, "xdotool", "xdotool"},
                 {&xprop_, "xprop", "x11-utils"},
                 {&xwininfo_, "xwininfo", "x11-utils"}};
    for (const auto &tool : tools) {
        *tool.path = QStandardPaths::findExecutable(QString::fromLatin1(tool.name));
        if (tool.path->isEmpty())
            QFAIL(qPrintable(QStringLiteral("%1 is missing (Debian package %2)")
                                 .arg(tool.name, tool.package)));
    }
}

void TestXcbTitles::cleanup()
{
    Stop(program_);
    Stop(server_);
}

QString TestXcbTitles::Tool(const QString &tool, const QStringList &arguments)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DISPLAY"), display_);
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    process.setProcessEnvironment(environment);
    process.start(tool, arguments);
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit) {
        Stop(process);
        QTest::qFail(qPrintable(tool + QStringLiteral(" did not finish")), __FILE__, __LINE__);
        return {};
    }
    return QString::fromUtf8(process.readAllStandardOutput());
}

QStringList TestXcbTitles::Windows(bool popups)
{
    // xdotool exits with 1 when it finds none.
    const QStringList found =
        Tool(xdotool_, {"search", "--onlyvisible", "--pid", QString::number(program_.processId())})
            .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    const QString state = popups ? QStringLiteral("Override Redirect State: yes")
                                 : QStringLiteral("Override Redirect State: no");
    QStringList windows;
    for (const QString &window : found)
        if (Tool(xwininfo_, {"-id", window}).contains(state))
            windows.append(window);
    return windows;
}

QString TestXcbTitles::NewWindow(const QStringList &known)
{
    const QDeadlineTimer deadline(WindowTimeout);
    do {
        for (const QString &window : Windows())
            if (!known.contains(window))
                return window;
        QThread::msleep(PollMilliseconds);
    } while (!deadline.hasExpired() && program_.state() == QProcess::Running);
    return {};
}

bool TestXcbTitles::Gone(const QString &window)
{
    const QDeadlineTimer deadline(WindowTimeout);
    do {
        if (!Windows().contains(window))
            return true;
        QThread::msleep(PollMilliseconds);
    } while (!deadline.hasExpired());
    return false;
}

void TestXcbTitles::Type(const QString &window, const QStringList &keys)
{
    Tool(xdotool_, {"windowfocus", "--sync", window});
    Tool(xdotool_, QStringList{"key"} + keys);
}

QString TestXcbTitles::FromProbabilityMenu(const QString &main, const QString &item)
{
    Type(main, {"alt+p"});
    // The item's key goes to the menu, which holds the keyboard once open.
    const QDeadlineTimer deadline(WindowTimeout);
    while (Windows(true).isEmpty()) {
        if (deadline.hasExpired())
            return {};
        QThread::msleep(PollMilliseconds);
    }
    Tool(xdotool_, {"key", item});
    return NewWindow({main});
}

QString TestXcbTitles::Titles(const QString &window)
{
    // xprop prints  WM_NAME(STRING) = "F distribution"  or, for a window
    // without the property,  WM_NAME:  not found.
    const QString printed = Tool(xprop_, {"-id", window, "WM_NAME", "_NET_WM_NAME"});
    QStringList titles;
    static const QRegularExpression line(QStringLiteral(R"re(^(\w+)(?:\(\w+\) = "(.*)"|:.*)$)re"),
                                         QRegularExpression::MultilineOption);
    for (auto match = line.globalMatch(printed); match.hasNext();) {
        const QRegularExpressionMatch property = match.next();
        titles.append(property.captured(2).isNull()
                          ? property.captured(1) + QStringLiteral(" missing")
                          : property.captured(2).replace(QLatin1String("\\\""),
                                                         QLatin1String("\"")));
    }
    return titles.join(QLatin1String(" | "));
}

// The main window, a dialog, the default handler's error box and the close
// prompt, each with its own caption.  The program ends through the close
// prompt's No, with exit code 0 (also with the sanitizers' leak check).
void TestXcbTitles::captionsStandAlone()
{
    // The server picks a free display and writes its number to standard
    // output once it accepts connections.
    server_.setChildProcessModifier(EndWithTheTest);
    server_.setProgram(xvfb_);
    server_.setArguments({"-displayfd", "1", "-screen", "0", "1024x768x24", "-nolisten", "tcp"});
    server_.setStandardErrorFile(QProcess::nullDevice());
    server_.start();
    QVERIFY2(server_.waitForStarted(), "Xvfb does not start");
    const QDeadlineTimer started(WindowTimeout);
    while (!server_.canReadLine() && !started.hasExpired()
           && server_.state() == QProcess::Running)
        server_.waitForReadyRead(100);
    const QString number = QString::fromLatin1(server_.readLine()).trimmed();
    QVERIFY2(!number.isEmpty(), "Xvfb gives no display number");
    display_ = QLatin1Char(':') + number;

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DISPLAY"), display_);
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    program_.setChildProcessModifier(EndWithTheTest);
    program_.setProcessEnvironment(environment);
    program_.setProgram(QStringLiteral(VARDELO_PROGRAM));
    program_.start();
    QVERIFY2(program_.waitForStarted(), "vardelo does not start");

    const QString main = NewWindow({});
    QVERIFY2(!main.isEmpty(), "the main window does not come");
    QCOMPARE(Titles(main), Both("Vardelo probability calculator"));

    // Probability > Binomial, OK with the defaults: a block of results, so
    // that the document counts as modified.
    const QString binomial = FromProbabilityMenu(main, "b");
    QVERIFY2(!binomial.isEmpty(), "the binomial dialog does not come");
    QCOMPARE(Titles(binomial), Both("Binomial distribution"));
    Type(binomial, {"Return"});
    QVERIFY(Gone(binomial));

    // Probability > F Value with an empty F value: the conversion error in
    // the default handler's box, captioned with the application title.
    const QString f = FromProbabilityMenu(main, "f");
    QVERIFY2(!f.isEmpty(), "the F dialog does not come");
    Type(f, {"alt+f", "ctrl+a", "BackSpace", "Return"});
    const QString error = NewWindow({main, f});
    QVERIFY2(!error.isEmpty(), "the error box does not come");
    QCOMPARE(Titles(error), Both("Vardelo 32 bit"));
    Type(error, {"Return"});
    QVERIFY(Gone(error));
    QVERIFY(Gone(f));

    // File > Quit asks whether to save the modified document; No ends the
    // program.
    Type(main, {"ctrl+q"});
    const QString prompt = NewWindow({main});
    QVERIFY2(!prompt.isEmpty(), "the close prompt does not come");
    QCOMPARE(Titles(prompt), Both("Warning"));
    Type(prompt, {"n"});
    QVERIFY2(program_.waitForFinished(WindowTimeout), "vardelo does not end");
    const QByteArray errors = program_.readAllStandardError();
    QVERIFY2(program_.exitStatus() == QProcess::NormalExit && program_.exitCode() == 0,
             errors.constData());
}

QTEST_GUILESS_MAIN(TestXcbTitles)
#include "xcb_titles.moc"
