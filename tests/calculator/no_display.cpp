// vardelo started without a display: one line on standard error that says
// what it needs, and exit code 1, where Qt alone would abort the program.
// A platform named on the command line or in QT_QPA_PLATFORM still starts
// it.
#include <QDeadlineTimer>
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
    void saysItNeedsADisplay();
    void aNamedPlatformStillStarts();
};

void TestNoDisplay::saysItNeedsADisplay()
{
    QProcess program;
    QProcessEnvironment environment = Console();
    // An empty variable names no display either.
    environment.insert(QStringLiteral("DISPLAY"), QString());
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(VARDELO_PROGRAM), QStringList());
    QVERIFY(program.waitForFinished(Timeout));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 1);
    QCOMPARE(program.readAllStandardOutput(), QByteArray());
    QCOMPARE(program.readAllStandardError(),
             QByteArray("vardelo: the calculator needs a graphical session (an X or Wayland "
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
