// The calculator's main window on a real X server: it runs in this
// program on the xcb platform of a private Xvfb.  The offscreen platform of
// the other tests has no window sizes of its own and no keys that come
// through a server.
//
// A line longer than the window shows the document's whole horizontal
// scroll bar inside the document, at the bottom of the window, where the
// mouse can use it; at the starting size and at another one.
//
// A menu opened with Alt and its letter and closed with Esc leaves the
// keyboard to the document: what is typed next is text, not the letters of
// other menus and commands.
//
// Tools: Xvfb (Debian xvfb), xwininfo (x11-utils), xdotool.
#include "calculator/vardelo2.h"

#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProcess>
#include <QRegularExpression>
#include <QScrollBar>
#include <QStandardPaths>
#include <QTest>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// A private X server, started before the application connects to it and
// stopped when the program ends.
class PrivateDisplay {
public:
    // Starts Xvfb; it writes its display number to the pipe once it takes
    // connections.  Empty when it did not start.
    std::string Start()
    {
        int pipe[2];
        if (::pipe2(pipe, O_CLOEXEC) != 0)
            return {};
        server_ = ::fork();
        if (server_ == 0) {
            ::prctl(PR_SET_PDEATHSIG, SIGTERM);
            ::dup2(pipe[1], 3);
            const int null = ::open("/dev/null", O_WRONLY);
            ::dup2(null, 2);
            ::execlp("Xvfb", "Xvfb", "-displayfd", "3", "-screen", "0", "1024x768x24", "-nolisten",
                     "tcp", static_cast<char *>(nullptr));
            ::_exit(127);
        }
        ::close(pipe[1]);
        std::string number;
        pollfd ready{pipe[0], POLLIN, 0};
        char c = 0;
        while (server_ > 0 && ::poll(&ready, 1, 60000) == 1 && ::read(pipe[0], &c, 1) == 1
               && c != '\n')
            number += c;
        ::close(pipe[0]);
        return number.empty() ? std::string() : ":" + number;
    }
    ~PrivateDisplay()
    {
        if (server_ > 0) {
            ::kill(server_, SIGTERM);
            ::waitpid(server_, nullptr, 0);
        }
    }

private:
    pid_t server_ = -1;
};

// Runs one of the X tools and returns what it printed.
QString Tool(const char *tool, const QStringList &arguments)
{
    QProcess process;
    process.start(QStandardPaths::findExecutable(QString::fromLatin1(tool)), arguments);
    if (!process.waitForFinished(30000))
        return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

// The window's size as the X server holds it.
QSize ServerSize(const QWidget *window)
{
    const QString info = Tool("xwininfo", {"-id", QString::number(window->winId())});
    const auto number = [&info](const char *field) {
        return QRegularExpression(QStringLiteral("%1: +(\\d+)").arg(QLatin1String(field)))
            .match(info)
            .captured(1)
            .toInt();
    };
    return {number("Width"), number("Height")};
}

// The calculator's main window as the program starts it, shown while this
// exists.  Not activated: without a window manager nothing activates it
// but a test that gives it the X focus.
class MainWindow {
public:
    MainWindow()
    {
        QApplication::setQuitOnLastWindowClosed(false);
        StartVardelo();
    }
    ~MainWindow() { delete VardeloForm; }
    MainWindow(const MainWindow &) = delete;
    MainWindow &operator=(const MainWindow &) = delete;
};

}  // namespace

class TestXcbMainWindow : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void wholeInsideTheWindow_data();
    void wholeInsideTheWindow();
    void typingAfterAMenuClosedWithEscGoesToTheDocument();
};

void TestXcbMainWindow::initTestCase()
{
    QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
    for (const char *tool : {"xwininfo", "xdotool"})
        QVERIFY2(!QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty(), tool);
}

void TestXcbMainWindow::wholeInsideTheWindow_data()
{
    QTest::addColumn<QSize>("size");
    QTest::newRow("starting size") << QSize();
    QTest::newRow("800 x 600") << QSize(800, 600);
}

void TestXcbMainWindow::wholeInsideTheWindow()
{
    QFETCH(QSize, size);
    const MainWindow started;
    TVardeloForm *window = VardeloForm;
    QVERIFY(QTest::qWaitForWindowExposed(window));
    QPlainTextEdit *memo = window->Memo1;
    if (size.isValid())
        window->resize(size);
    else
        size = window->size();
    QTRY_COMPARE(ServerSize(window), size);

    // A line longer than the window, typed; then back to its start.
    QTest::keyClicks(memo, QString(150, QLatin1Char('x')));
    QTest::keyClick(memo, Qt::Key_Home);
    QScrollBar *bar = memo->horizontalScrollBar();
    QTRY_VERIFY(bar->isVisible());
    QTRY_COMPARE(bar->value(), 0);

    // The document fills the client area; the scroll bar lies inside it,
    // at its bottom edge, at its full height.
    const int menuHeight = window->menuBar()->height();
    QCOMPARE(memo->geometry(), QRect(0, menuHeight, size.width(), size.height() - menuHeight));
    const QRect inWindow(bar->mapTo(window, QPoint(0, 0)), bar->size());
    QCOMPARE(inWindow.height(), bar->sizeHint().height());
    QVERIFY2(memo->geometry().contains(inWindow), qPrintable(QStringLiteral("%1,%2 %3x%4")
                                                                 .arg(inWindow.x())
                                                                 .arg(inWindow.y())
                                                                 .arg(inWindow.width())
                                                                 .arg(inWindow.height())));
    QCOMPARE(inWindow.bottom(), memo->geometry().bottom() - memo->frameWidth());
    QCOMPARE(inWindow.left(), memo->frameWidth());
    QVERIFY(inWindow.width() > size.width() / 2);

    // A click into its track, right of the handle, pages to the right.
    const QPoint target = bar->mapToGlobal(QPoint(bar->width() * 3 / 4, bar->height() / 2));
    Tool("xdotool", {"mousemove", "--sync", QString::number(target.x()),
                     QString::number(target.y()), "click", "1"});
    QTRY_VERIFY(bar->value() > 0);
}

// Keys typed by xdotool, through the server.  A menu bar that kept the
// keyboard after Esc would look idle, and "p" of "alpha" would open the
// Probability menu, the next blank choose Binomial.
void TestXcbMainWindow::typingAfterAMenuClosedWithEscGoesToTheDocument()
{
    const MainWindow started;
    TVardeloForm *window = VardeloForm;
    QVERIFY(QTest::qWaitForWindowExposed(window));
    Tool("xdotool", {"windowfocus", "--sync", QString::number(window->winId())});
    QTRY_COMPARE(QApplication::focusWidget(), window->Memo1);
    Tool("xdotool", {"type", "Notes:"});
    Tool("xdotool", {"key", "alt+e"});
    QTRY_VERIFY(window->Edit1->isVisible());
    Tool("xdotool", {"key", "Escape"});
    QTRY_VERIFY(!window->Edit1->isVisible());
    QTRY_COMPARE(QApplication::focusWidget(), window->Memo1);
    Tool("xdotool", {"type", "alpha beta gamma"});
    QTRY_COMPARE(window->Memo1->toPlainText(), QStringLiteral("Notes:alpha beta gamma"));
}

int main(int argc, char *argv[])
{
    PrivateDisplay display;
    const std::string name = display.Start();
    if (name.empty()) {
        std::fputs("Xvfb does not start (Debian package xvfb)\n", stderr);
        return 1;
    }
    ::setenv("DISPLAY", name.c_str(), 1);
    ::setenv("QT_QPA_PLATFORM", "xcb", 1);
    QApplication app(argc, argv);
    TestXcbMainWindow test;
    return QTest::qExec(&test, argc, argv);
}

#include "xcb_mainwindow.moc"
