// vardelo started without a display: one line on standard error that says
// what it needs, and exit code 1, where Qt alone would abort the program;
// also when the environment names a display that cannot be opened.  A
// platform named on the command line or in QT_QPA_PLATFORM still starts
// it.
#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTest>

namespace {

// The environment of a console without a graphical session.
QProcessEnvironment Console()
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QString::fromLatin1(name));
    return environment;
}

// How long the program may take to end; the sanitizer build starts slowly.
constexpr int Timeout = 60000;

}  // namespace

class TestNoDisplay : public QObject {
    Q_OBJECT

private slots:
    void saysItNeedsADisplay_data();
    void saysItNeedsADisplay();
    void aNamedPlatformStillStarts();
};

void TestNoDisplay::saysItNeedsADisplay_data()
{
    QTest::addColumn<QString>("variable");
    QTest::addColumn<QString>("display");
    QTest::addColumn<QString>("unopened");  // what the line names
    // An empty variable names no display either.
    QTest::newRow("no display") << "DISPLAY"
                                << ""
                                << "";
    // What a dead ssh X forward leaves.
    QTest::newRow("X display without a server") << "DISPLAY"
                                                << ":69"
                                                << "cannot open display :69: ";
    QTest::newRow("Wayland display without its socket") << "WAYLAND_DISPLAY"
                                                        << "wayland-69"
                                                        << "cannot open display wayland-69: ";
}

void TestNoDisplay::saysItNeedsADisplay()
{
    QFETCH(QString, variable);
    QFETCH(QString, display);
    QFETCH(QString, unopened);
    QVERIFY2(!QFile::exists(QStringLiteral("/tmp/.X11-unix/X69")), "an X server runs on :69");
    QProcess program;
    QProcessEnvironment environment = Console();
    environment.insert(variable, display);
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(VARDELO_PROGRAM), QStringList());
    QVERIFY(program.waitForFinished(Timeout));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 1);
    QCOMPARE(program.readAllStandardOutput(), QByteArray());
    QCOMPARE(QString::fromLatin1(program.readAllStandardError()),
             QStringLiteral("vardelo: ") + unopened
                 + QStringLiteral("the calculator needs a graphical session (an X or Wayland "
                                  "display; QT_QPA_PLATFORM=offscreen for tests)\n"));
}

// Started on the offscreen platform, the program runs until it is stopped.
void TestNoDisplay::aNamedPlatformStillStarts()
{
    QProcess named, fromEnvironment;
    named.setProcessEnvironment(Console());
    named.start(QStringLiteral(VARDELO_PROGRAM), {"-platform", "offscreen"});
    QProcessEnvironment environment = Console();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    fromEnvironment.setProcessEnvironment(environment);
    fromEnvironment.start(QStringLiteral(VARDELO_PROGRAM), QStringList());
    const QDeadlineTimer running(2000);
    for (QProcess *program : {&named, &fromEnvironment}) {
        QVERIFY(program->waitForStarted(Timeout));
        QVERIFY2(!program->waitForFinished(int(qMax<qint64>(1, running.remainingTime()))),
                 program->readAllStandardError().constData());
        program->kill();
        program->waitForFinished(Timeout);
    }
}

QTEST_GUILESS_MAIN(TestNoDisplay)
#include "no_display.moc"
