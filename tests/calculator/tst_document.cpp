// The File and Edit commands of the main window on real files: New, Open,
// Save, Save as, the question before a modified document is closed or
// replaced, the file encodings and line ends, and the clipboard commands.
#include "support/calculatortest.h"

#include "calculator/docfile.h"
#include "calculator/results.h"
#include "calculator/vardelo2.h"

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMimeDatabase>
#include <QPlainTextEdit>
#include <QPointer>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTest>

#include <atomic>
#include <chrono>
#include <thread>

#include <fcntl.h>
#include <iconv.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using Answer = std::function<void(QDialog *)>;

// Runs a command and answers the dialogs that it opens (message boxes
// aside, which the session answers), one answer per dialog in order; a
// dialog beyond the answers is cancelled.  Returns the number of dialogs.
int RunWithDialogs(const std::function<void()> &command, QList<Answer> answers)
{
    int shown = 0;
    QPointer<QDialog> handled;
    QTimer watch;
    watch.setInterval(5);
    QObject::connect(&watch, &QTimer::timeout, [&] {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (!dialog || qobject_cast<QMessageBox *>(dialog) || !dialog->isVisible()
            || dialog == handled)
            return;
        handled = dialog;
        ++shown;
        if (!QTest::qWaitForWindowActive(dialog, ActivationTimeout))
            qWarning("the dialog did not become active");
        if (!answers.isEmpty())
            answers.takeFirst()(dialog);
        if (handled && handled->isVisible())
            handled->reject();
    });
    watch.start();
    command();
    return shown;
}

Answer Choose(const QString &path)
{
    return [path](QDialog *dialog) { AnswerFileDialog(dialog, path); };
}

Answer Cancel()
{
    return [](QDialog *dialog) { dialog->reject(); };
}

void Trigger(const char *item)
{
    CalculatorSession::MenuItem(item)->trigger();
}

QByteArray Contents(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return "(missing)";
    return file.readAll();
}

void Write(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

QString Caption()
{
    return VardeloForm->windowTitle();
}

QString RememberedName()
{
    return VardeloForm->OpenDialog1.FileName;
}

// A named pipe that no test can hang on.  While it exists a thread keeps
// opening it for writing, which succeeds only when someone has it open
// for reading; that reader, had it waited for a writer, goes on and meets
// the end of the file at once.  WasOpened() tells whether it happened.
class NamedPipe {
public:
    explicit NamedPipe(const QString &path) : path_(QFile::encodeName(path))
    {
        if (mkfifo(path_.constData(), 0600) != 0)
            QTest::qFail("cannot make the named pipe", __FILE__, __LINE__);
        watch_ = std::thread([this] {
            while (!stop_) {
                const int handle = open(path_.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
                if (handle >= 0) {
                    opened_ = true;
                    close(handle);
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
        });
    }
    ~NamedPipe()
    {
        stop_ = true;
        watch_.join();
    }
    NamedPipe(const NamedPipe &) = delete;
    NamedPipe &operator=(const NamedPipe &) = delete;

    bool WasOpened() const { return opened_; }

private:
    const QByteArray path_;
    std::atomic<bool> stop_{false}, opened_{false};
    std::thread watch_;
};

}  // namespace

class TestDocument : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void newDocument();
    void saveAsAddsTheExtensionAndSaveReusesTheName();
    void saveWithoutANameAsksForOne();
    void dialogsStartOnTheirNames();
    void openEndsLinesAtCrLfCrAndLf();
    void openFollowsTheByteOrderMark();
    void saveKeepsEveryCharacter();
    void windows1252AgreesWithTheCLibrary();
    void aFailingOpenChangesNothing();
    void aFailingSaveChangesNothing();
    void openReadsRegularFilesOnly();
    void fileDialogsTellFilesByTheirNamesOnly();
    void closingAnUnmodifiedDocumentAsksNothing();
    void closePromptCancelAndEscapeKeepTheWindow();
    void closePromptNoDiscards();
    void closePromptYesSaves();
    void closePromptYesOnAnUnnamedDocument();
    void newAndOpenAskBeforeReplacingAModifiedDocument();
    void editCommands();
    void editCommandsWithoutSelectionOrClipboard();

private:
    QString Path(const QString &name) const { return QDir(dir_->path()).filePath(name); }

    std::unique_ptr<QTemporaryDir> dir_;
};

void TestDocument::initTestCase()
{
    // The file dialogs keep their folders in Qt's settings: not the user's.
    QStandardPaths::setTestModeEnabled(true);
}

void TestDocument::init()
{
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
    QGuiApplication::clipboard()->clear();
}

void TestDocument::newDocument()
{
    CalculatorSession session;
    Write(Path("old.txt"), "old\r\n");
    QCOMPARE(RunWithDialogs([] { Trigger("Open1"); }, {Choose(Path("old.txt"))}), 1);
    AppendLine("RESULT");

    session.AnswerWith({QMessageBox::No});
    Trigger("New1");
    QCOMPARE(session.Messages().size(), 1);
    QVERIFY(VardeloForm->Memo1->toPlainText().isEmpty());
    QVERIFY(!CalculatorSession::Modified());
    QCOMPARE(Caption(), QStringLiteral("Text Demo - [Untitled]"));
    QCOMPARE(RememberedName(), QString());

    // Without changes there is no question.
    Trigger("New1");
    QCOMPARE(session.Messages().size(), 1);
    QCOMPARE(Caption(), QStringLiteral("Text Demo - [Untitled]"));
}

void TestDocument::saveAsAddsTheExtensionAndSaveReusesTheName()
{
    CalculatorSession session;
    AppendLine("TITLE\r\n");
    AppendProbabilityLine("(1-tailed)", 0.0625);

    QCOMPARE(RunWithDialogs([] { Trigger("Saveas1"); }, {Choose(Path("results"))}), 1);
    const QString saved = Path("results.TXT");
    QCOMPARE(Contents(saved), QByteArray("TITLE\r\n\r\n           P =  .0625  (1-tailed)\r\n"));
    QCOMPARE(Caption(), QStringLiteral("Text Demo - results.TXT"));
    QCOMPARE(RememberedName(), saved);
    QVERIFY(CalculatorSession::Modified());  // saving leaves the flag alone
    QVERIFY(session.Messages().isEmpty());

    // Save writes to the remembered name without a dialog; the caption stays.
    VardeloForm->setWindowTitle("changed elsewhere");
    AppendLine("MORE");
    QCOMPARE(RunWithDialogs([] { Trigger("Save1"); }, {}), 0);
    QCOMPARE(Contents(saved),
             QByteArray("TITLE\r\n\r\n           P =  .0625  (1-tailed)\r\nMORE\r\n"));
    QCOMPARE(Caption(), QStringLiteral("changed elsewhere"));
    QVERIFY(CalculatorSession::Modified());
    QCOMPARE(QDir(dir_->path()).entryList(QDir::Files), QStringList{"results.TXT"});
}

void TestDocument::saveWithoutANameAsksForOne()
{
    CalculatorSession session;
    AppendLine("A");
    QCOMPARE(RunWithDialogs([] { Trigger("Save1"); }, {Cancel()}), 1);
    QVERIFY(QDir(dir_->path()).isEmpty());
    QCOMPARE(Caption(), QStringLiteral("Vardelo probability calculator"));
    QCOMPARE(RememberedName(), QString());

    QCOMPARE(RunWithDialogs([] { Trigger("Save1"); }, {Choose(Path("a.txt"))}), 1);
    QCOMPARE(Contents(Path("a.txt")), QByteArray("A\r\n"));
    QCOMPARE(Caption(), QStringLiteral("Text Demo - a.txt"));
    QCOMPARE(RememberedName(), Path("a.txt"));
}

void TestDocument::dialogsStartOnTheirNames()
{
    CalculatorSession session;
    Write(Path("other.txt"), "other\r\n");
    AppendLine("A");
    QCOMPARE(RunWithDialogs([] { Trigger("Saveas1"); }, {Choose(Path("saved.txt"))}), 1);

    QStringList offered;
    const Answer look = [&offered](QDialog *dialog) {
        offered = qobject_cast<QFileDialog *>(dialog)->selectedFiles();
        dialog->reject();
    };
    // The open dialog starts on the remembered name, which Save as set.
    session.AnswerWith({QMessageBox::No});
    QCOMPARE(RunWithDialogs([] { Trigger("Open1"); }, {look}), 1);
    QCOMPARE(offered, QStringList{Path("saved.txt")});

    // The save dialog starts on its own last name, not on the document's.
    session.AnswerWith({QMessageBox::No});
    QCOMPARE(RunWithDialogs([] { Trigger("Open1"); }, {Choose(Path("other.txt"))}), 1);
    QCOMPARE(RememberedName(), Path("other.txt"));
    QCOMPARE(RunWithDialogs([] { Trigger("Saveas1"); }, {look}), 1);
    QCOMPARE(offered, QStringList{Path("saved.txt")});
}

void TestDocument::openEndsLinesAtCrLfCrAndLf()
{
    CalculatorSession session;
    const struct {
        const char *name;
        QByteArray bytes;
        QStringList lines;
        QByteArray saved;
    } files[] = {
        {"lf.txt", "one\ntwo\n\nfour\n", {"one", "two", "", "four"}, "one\r\ntwo\r\n\r\nfour\r\n"},
        {"cr.txt", "one\rtwo\r", {"one", "two"}, "one\r\ntwo\r\n"},
        {"mixed.txt", "a\r\nb\rc\nd", {"a", "b", "c", "d"}, "a\r\nb\r\nc\r\nd"},
        {"crcr.txt", "a\r\r\nb", {"a", "", "b"}, "a\r\n\r\nb"},
        {"empty.txt", "", {}, ""},
    };
    for (const auto &file : files) {
        Write(Path(file.name), file.bytes);
        QCOMPARE(RunWithDialogs([] { Trigger("Open1"); }, {Choose(Path(file.name))}), 1);
        QCOMPARE(CalculatorSession::MemoLines(), file.lines);
        QVERIFY(!CalculatorSession::Modified());
        QCOMPARE(Caption(), QStringLiteral("Text Demo - ") + file.name);
        QCOMPARE(RememberedName(), Path(file.name));

        Trigger("Save1");
        QCOMPARE(Contents(Path(file.name)), file.saved);
    }
    QVERIFY(session.Messages().isEmpty());
}

void TestDocument::openFollowsTheByteOrderMark()
{
    CalculatorSession session;
    // Windows-1252 without a mark: E9 is e acute, 80 the euro sign, 93 and
    // 94 the curly double quotes, 81 (unassigned) the control U+0081.
    const struct {
        const char *name;
        QByteArray bytes;
        QString text;
    } files[] = {
        {"ansi.txt", "caf\xE9 \x80 \x93x\x94 \x81\r\n",
         QString::fromUtf8("caf\u00e9 \u20ac \u201cx\u201d \u0081\n")},
        {"utf8.txt", "\xEF\xBB\xBF" "caf\xC3\xA9 \xE2\x82\xAC \xCE\xA9\r\n",
         QString::fromUtf8("caf\u00e9 \u20ac \u03a9\n")},
        {"utf16le.txt", QByteArray("\xFF\xFE" "a\0\xE9\0\r\0\n\0\xA9\x03", 12),
         QString::fromUtf8("a\u00e9\n\u03a9")},
        {"utf16be.txt", QByteArray("\xFE\xFF\0a\0\xE9\0\r\x03\xA9", 10),
         QString::fromUtf8("a\u00e9\n\u03a9")},
    };
    for (const auto &file : files) {
        Write(Path(file.name), file.bytes);
        QCOMPARE(RunWithDialogs([] { Trigger("Open1"); }, {Choose(Path(file.name))}), 1);
        QCOMPARE(VardeloForm->Memo1->toPlainText(), file.text);
    }
    QVERIFY(session.Messages().isEmpty());
}

void TestDocument::saveKeepsEveryCharacter()
{
    CalculatorSession session;
    // Characters of Windows-1252 are written as its single bytes, without
    // a mark; the file reads back the same.  A non-breaking space stays one.
    const QByteArray ansi("caf\xE9\xA0\x80 \x81\r\n");
    Write(Path("ansi.txt"), ansi);
    QCOMPARE(RunWithDialogs([] { Trigger("Open1"); }, {Choose(Path("ansi.txt"))}), 1);
    QCOMPARE(RunWithDialogs([] { Trigger("Saveas1"); }, {Choose(Path("copy.txt"))}), 1);
    QCOMPARE(Contents(Path("copy.txt")), ansi);

    // A character outside Windows-1252 (omega) makes the file UTF-8 with a
    // mark; Open reads it back unchanged.
    VardeloForm->Memo1->moveCursor(QTextCursor::End);
    VardeloForm->Memo1->insertPlainText(QString::fromUtf8("\u03a9"));
    Trigger("Save1");
    QCOMPARE(Contents(Path("copy.txt")),
             QByteArray("\xEF\xBB\xBF" "caf\xC3\xA9\xC2\xA0\xE2\x82\xAC \xC2\x81\r\n\xCE\xA9"));
    VardeloForm->Memo1->clear();
    VardeloForm->Memo1->document()->setModified(false);
    QCOMPARE(RunWithDialogs([] { Trigger("Open1"); }, {Choose(Path("copy.txt"))}), 1);
    QCOMPARE(VardeloForm->Memo1->document()->begin().text(),
             QString::fromUtf8("caf\u00e9\u00a0\u20ac \u0081"));
    QCOMPARE(CalculatorSession::MemoLines().last(), QString::fromUtf8("\u03a9"));
}

void TestDocument::windows1252AgreesWithTheCLibrary()
{
    // The C library's converter knows every assigned byte; the five
    // unassigned ones read as the control character of the same number.
    iconv_t converter = iconv_open("UTF-16LE", "WINDOWS-1252");
    QVERIFY(converter != iconv_t(-1));
    const QByteArray unassigned("\x81\x8D\x8F\x90\x9D");
    for (int code = 0; code < 256; ++code) {
        const char byte = char(code);
        QString expected;
        if (unassigned.contains(byte)) {
            expected = QChar(char16_t(code));
        } else {
            char16_t unit = 0;
            char *in = const_cast<char *>(&byte);
            char *out = reinterpret_cast<char *>(&unit);
            size_t inLeft = 1, outLeft = 2;
            QVERIFY(iconv(converter, &in, &inLeft, &out, &outLeft) != size_t(-1));
            expected = QChar(unit);
        }
        const QByteArray bytes(1, byte);
        QCOMPARE(DecodeWindows1252(bytes), expected);
        QCOMPARE(EncodeWindows1252(expected), std::optional<QByteArray>(bytes));
    }
    iconv_close(converter);
    QCOMPARE(EncodeWindows1252(QString::fromUtf8("\u03a9")), std::nullopt);
    QCOMPARE(EncodeWindows1252(QString::fromUtf8("\U0001F600")), std::nullopt);
}

void TestDocument::aFailingOpenChangesNothing()
{
    CalculatorSession session;
    AppendLine("KEPT");
    QCOMPARE(RunWithDialogs([] { Trigger("Saveas1"); }, {Choose(Path("kept.txt"))}), 1);
    AppendLine("UNSAVED");

    // The file goes away between the dialog and the reading.
    const QString gone = Path("gone.txt");
    Write(gone, "gone\r\n");
    session.AnswerWith({QMessageBox::No});
    QCOMPARE(RunWithDialogs([] { Trigger("Open1"); },
                            {[&gone](QDialog *dialog) {
                                AnswerFileDialog(dialog, gone);
                                QFile::remove(gone);
                            }}),
             1);
    QCOMPARE(session.Messages().size(), 2);  // the question, then the error
    QCOMPARE(session.Messages()[1].caption, QStringLiteral("Vardelo 32 bit"));
    QCOMPARE(session.Messages()[1].text,
             QStringLiteral("Cannot open file \"%1\". No such file or directory.").arg(gone));
    QCOMPARE(CalculatorSession::MemoLines(), (QStringList{"KEPT", "UNSAVED"}));
    QVERIFY(CalculatorSession::Modified());
    QCOMPARE(Caption(), QStringLiteral("Text Demo - kept.txt"));
    QCOMPARE(RememberedName(), Path("kept.txt"));

    // A later Save goes to the document's own file.
    Trigger("Save1");
    QCOMPARE(Contents(Path("kept.txt")), QByteArray("KEPT\r\nUNSAVED\r\n"));
    QVERIFY(!QFile::exists(gone));
}

void TestDocument::aFailingSaveChangesNothing()
{
    CalculatorSession session;
    const QByteArray old("old contents\r\n");
    Write(Path("old.txt"), old);
    QCOMPARE(RunWithDialogs([] { Trigger("Open1"); }, {Choose(Path("old.txt"))}), 1);
    // 240 lines of 51 bytes: more than the limit below, less than what a
    // file buffers before it writes.
    QString many;
    for (int i = 0; i < 240; ++i)
        many += QStringLiteral("a line long enough to pass the limit of the test\r\n");
    AppendLine(many);
    const QStringList lines = CalculatorSession::MemoLines();

    const auto unchanged = [&] {
        QCOMPARE(CalculatorSession::MemoLines(), lines);
        QVERIFY(CalculatorSession::Modified());
        QCOMPARE(Caption(), QStringLiteral("Text Demo - old.txt"));
        QCOMPARE(RememberedName(), Path("old.txt"));
        QCOMPARE(Contents(Path("old.txt")), old);
        QCOMPARE(QDir(dir_->path()).entryList(QDir::Files), QStringList{"old.txt"});
    };
    const auto reported = [&](const QString &name) {
        QVERIFY(!session.Messages().isEmpty());
        const QString text = session.Messages().last().text;
        const QString start = QStringLiteral("Cannot create file \"%1\". ").arg(Path(name));
        QVERIFY2(text.startsWith(start) && text.size() > start.size() + 1, qPrintable(text));
        session.ClearMessages();
    };

    FileSizeLimit limit(8192);
    // Save: the old file keeps its contents.
    Trigger("Save1");
    reported("old.txt");
    unchanged();

    // Save as: no file, no new name.
    QCOMPARE(RunWithDialogs([] { Trigger("Saveas1"); }, {Choose(Path("new.txt"))}), 1);
    reported("new.txt");
    unchanged();

    // Yes in the close prompt: the window stays open.
    session.AnswerWith({QMessageBox::Yes});
    QVERIFY(!VardeloForm->close());
    QVERIFY(VardeloForm->isVisible());
    reported("old.txt");
    unchanged();
}

void TestDocument::openReadsRegularFilesOnly()
{
    CalculatorSession session;
    AppendLine("KEPT");
    QCOMPARE(RunWithDialogs([] { Trigger("Saveas1"); }, {Choose(Path("kept.txt"))}), 1);
    AppendLine("UNSAVED");

    // Nothing writes to the pipe: reading it would wait for good.  The
    // link to /dev/zero would read until memory runs out.  A folder cannot
    // be chosen in the dialog: it replaces the chosen file afterwards.
    NamedPipe pipe(Path("pipe.txt"));
    QVERIFY(QFile::link("/dev/zero", Path("zero.txt")));
    Write(Path("folder.txt"), "folder\r\n");
    const struct {
        const char *name;
        const char *reason;
    } files[] = {
        {"pipe.txt", "Is a named pipe"},
        {"zero.txt", "Is a device"},
        {"folder.txt", "Is a directory"},
    };
    for (const auto &file : files) {
        const QString path = Path(file.name);
        session.AnswerWith({QMessageBox::No});
        QCOMPARE(RunWithDialogs([] { Trigger("Open1"); },
                                {[&path](QDialog *dialog) {
                                    AnswerFileDialog(dialog, path);
                                    if (path.endsWith("folder.txt"))
                                        QVERIFY(QFile::remove(path) && QDir().mkdir(path));
                                }}),
                 1);
        QCOMPARE(session.Messages().size(), 2);  // the question, then the error
        QCOMPARE(session.Messages()[1].text,
                 QStringLiteral("Cannot open file \"%1\". %2.").arg(path, file.reason));
        session.ClearMessages();
        QCOMPARE(CalculatorSession::MemoLines(), (QStringList{"KEPT", "UNSAVED"}));
        QVERIFY(CalculatorSession::Modified());
        QCOMPARE(Caption(), QStringLiteral("Text Demo - kept.txt"));
        QCOMPARE(RememberedName(), Path("kept.txt"));
    }
}

void TestDocument::fileDialogsTellFilesByTheirNamesOnly()
{
    CalculatorSession session;
    // A folder with a named pipe that nothing writes to, and a file whose
    // bytes make it a PDF document but whose name does not.
    const QString folder = Path("listed");
    QVERIFY(QDir().mkdir(folder));
    NamedPipe pipe(QDir(folder).filePath("pipe"));
    Write(QDir(folder).filePath("report.dat"), "%PDF-1.4\n%\xE2\xE3\xCF\xD3\n");
    Write(QDir(folder).filePath("notes.txt"), "notes\r\n");
    QMimeDatabase types;
    QCOMPARE(types.mimeTypeForFile(QDir(folder).filePath("report.dat")).name(), "application/pdf");
    const QString unknown = types.mimeTypeForName("application/octet-stream").comment();
    const QString text = types.mimeTypeForName("text/plain").comment();

    // The folder typed into the file name field, as a user does, is listed
    // at once, with the types that the names give.
    const Answer list = [&](QDialog *dialog) {
        auto *model = dialog->findChild<QFileSystemModel *>();
        QVERIFY(model);
        QSignalSpy loaded(model, &QFileSystemModel::directoryLoaded);
        qobject_cast<QFileDialog *>(dialog)->selectNameFilter("All Files (*.*)");
        TypeInto(dialog->findChild<QLineEdit *>("fileNameEdit"), folder + "/");
        QVERIFY(QTest::qWaitFor([&] {
            return loaded.contains(QVariantList{folder})
                   && !model->type(model->index(QDir(folder).filePath("report.dat"))).isEmpty();
        }));
        QCOMPARE(model->type(model->index(QDir(folder).filePath("report.dat"))), unknown);
        QCOMPARE(model->type(model->index(QDir(folder).filePath("notes.txt"))), text);
        dialog->reject();
    };
    QCOMPARE(RunWithDialogs([] { Trigger("Open1"); }, {list}), 1);
    AppendLine("RESULT");
    QCOMPARE(RunWithDialogs([] { Trigger("Saveas1"); }, {list}), 1);
    QVERIFY(!pipe.WasOpened());
    QVERIFY(session.Messages().isEmpty());
}

void TestDocument::closingAnUnmodifiedDocumentAsksNothing()
{
    {
        CalculatorSession session;
        QVERIFY(VardeloForm->close());
        QVERIFY(session.Messages().isEmpty());
        QCOMPARE(session.Beeps(), 0);
    }
    CalculatorSession session;
    Write(Path("a.txt"), "a\r\n");
    QCOMPARE(RunWithDialogs([] { Trigger("Open1"); }, {Choose(Path("a.txt"))}), 1);
    QVERIFY(VardeloForm->close());
    QVERIFY(session.Messages().isEmpty());
}

void TestDocument::closePromptCancelAndEscapeKeepTheWindow()
{
    CalculatorSession session;
    AppendLine("RESULT");
    session.AnswerWith({QMessageBox::Cancel});
    Trigger("File1");  // Quit
    QVERIFY(VardeloForm->isVisible());
    // Unanswered, the box is closed with Esc: the same as Cancel.
    QVERIFY(!VardeloForm->close());
    QVERIFY(VardeloForm->isVisible());

    QCOMPARE(session.Messages().size(), 2);
    for (const ShownMessage &message : session.Messages()) {
        QCOMPARE(message.caption, QStringLiteral("Warning"));
        // No name yet: two blanks between "File" and "has".
        QCOMPARE(message.text, QStringLiteral("File  has been modified. Save file?"));
        QCOMPARE(message.icon, QMessageBox::Warning);
    }
    // The question comes without a beep.
    QCOMPARE(session.Beeps(), 0);
    QCOMPARE(CalculatorSession::MemoLines(), QStringList{"RESULT"});
    QVERIFY(CalculatorSession::Modified());
    QVERIFY(QDir(dir_->path()).isEmpty());
}

void TestDocument::closePromptNoDiscards()
{
    CalculatorSession session;
    AppendLine("SAVED");
    QCOMPARE(RunWithDialogs([] { Trigger("Saveas1"); }, {Choose(Path("a.txt"))}), 1);
    AppendLine("LOST");
    session.AnswerWith({QMessageBox::No});
    QVERIFY(VardeloForm->close());
    QCOMPARE(session.Messages().size(), 1);
    QCOMPARE(Contents(Path("a.txt")), QByteArray("SAVED\r\n"));
}

void TestDocument::closePromptYesSaves()
{
    CalculatorSession session;
    AppendLine("FIRST");
    QCOMPARE(RunWithDialogs([] { Trigger("Saveas1"); }, {Choose(Path("a.txt"))}), 1);
    AppendLine("SECOND");
    // After a save the document still counts as modified: the question
    // comes, naming the saved file, and Yes saves without a dialog.
    session.AnswerWith({QMessageBox::Yes});
    QCOMPARE(RunWithDialogs([] { QVERIFY(VardeloForm->close()); }, {}), 0);
    QCOMPARE(session.Messages().size(), 1);
    QCOMPARE(session.Messages()[0].text,
             QStringLiteral("File %1 has been modified. Save file?").arg(Path("a.txt")));
    QCOMPARE(Contents(Path("a.txt")), QByteArray("FIRST\r\nSECOND\r\n"));
}

void TestDocument::closePromptYesOnAnUnnamedDocument()
{
    CalculatorSession session;
    AppendLine("RESULT");

    // Yes opens Save as; cancelling it writes nothing, so the window stays.
    session.AnswerWith({QMessageBox::Yes});
    bool closed = true;
    QCOMPARE(RunWithDialogs([&] { closed = VardeloForm->close(); }, {Cancel()}), 1);
    QVERIFY(!closed);
    QVERIFY(VardeloForm->isVisible());
    QVERIFY(CalculatorSession::Modified());
    QVERIFY(QDir(dir_->path()).isEmpty());

    // Choosing a name saves and closes.
    session.AnswerWith({QMessageBox::Yes});
    QCOMPARE(RunWithDialogs([&] { closed = VardeloForm->close(); }, {Choose(Path("r.txt"))}), 1);
    QVERIFY(closed);
    QCOMPARE(Contents(Path("r.txt")), QByteArray("RESULT\r\n"));
}

void TestDocument::newAndOpenAskBeforeReplacingAModifiedDocument()
{
    CalculatorSession session;
    Write(Path("other.txt"), "other\r\n");
    AppendLine("RESULT");

    // Cancel stops the command before anything happens.
    session.AnswerWith({QMessageBox::Cancel});
    Trigger("New1");
    session.AnswerWith({QMessageBox::Cancel});
    QCOMPARE(RunWithDialogs([] { Trigger("Open1"); }, {}), 0);
    // Yes on an unnamed document with Save as cancelled: stopped as well.
    session.AnswerWith({QMessageBox::Yes});
    QCOMPARE(RunWithDialogs([] { Trigger("New1"); }, {Cancel()}), 1);
    session.AnswerWith({QMessageBox::Yes});
    QCOMPARE(RunWithDialogs([] { Trigger("Open1"); }, {Cancel()}), 1);
    QCOMPARE(session.Messages().size(), 4);
    QCOMPARE(CalculatorSession::MemoLines(), QStringList{"RESULT"});
    QVERIFY(CalculatorSession::Modified());
    QCOMPARE(Caption(), QStringLiteral("Vardelo probability calculator"));

    // Yes saves, then the command goes on.
    session.AnswerWith({QMessageBox::Yes});
    QCOMPARE(RunWithDialogs([] { Trigger("Open1"); },
                            {Choose(Path("saved.txt")), Choose(Path("other.txt"))}),
             2);
    QCOMPARE(Contents(Path("saved.txt")), QByteArray("RESULT\r\n"));
    QCOMPARE(CalculatorSession::MemoLines(), QStringList{"other"});
    QCOMPARE(Caption(), QStringLiteral("Text Demo - other.txt"));

    // No goes on without saving.
    AppendLine("DROPPED");
    session.AnswerWith({QMessageBox::No});
    Trigger("New1");
    QVERIFY(VardeloForm->Memo1->toPlainText().isEmpty());
    QCOMPARE(Contents(Path("other.txt")), QByteArray("other\r\n"));
    QCOMPARE(session.Messages().size(), 6);
}

void TestDocument::editCommands()
{
    CalculatorSession session;
    QPlainTextEdit *memo = VardeloForm->Memo1;
    QClipboard *clipboard = QGuiApplication::clipboard();
    AppendLine("alpha beta");
    memo->document()->setModified(false);
    const auto select = [memo](int from, int to) {
        QTextCursor cursor = memo->textCursor();
        cursor.setPosition(from);
        cursor.setPosition(to, QTextCursor::KeepAnchor);
        memo->setTextCursor(cursor);
    };

    select(6, 10);  // "beta"
    Trigger("Copy1");
    QCOMPARE(clipboard->text(), QStringLiteral("beta"));
    QCOMPARE(memo->toPlainText(), QStringLiteral("alpha beta\n"));
    QVERIFY(!CalculatorSession::Modified());

    Trigger("Cut1");
    QCOMPARE(clipboard->text(), QStringLiteral("beta"));
    QCOMPARE(memo->toPlainText(), QStringLiteral("alpha \n"));
    QVERIFY(CalculatorSession::Modified());

    memo->document()->setModified(false);
    select(0, 5);  // "alpha"
    Trigger("Paste1");
    QCOMPARE(memo->toPlainText(), QStringLiteral("beta \n"));
    QVERIFY(CalculatorSession::Modified());

    // Erase leaves the clipboard alone.
    memo->document()->setModified(false);
    clipboard->setText("kept");
    select(0, 2);
    Trigger("Erase1");
    QCOMPARE(memo->toPlainText(), QStringLiteral("ta \n"));
    QCOMPARE(clipboard->text(), QStringLiteral("kept"));
    QVERIFY(CalculatorSession::Modified());

    // Pasted line breaks split lines like typed ones.
    clipboard->setText("x\r\ny");
    Trigger("Selectall1");
    QCOMPARE(memo->textCursor().selectedText().size(), 4);
    Trigger("Paste1");
    QCOMPARE(CalculatorSession::MemoLines(), (QStringList{"x", "y"}));
}

void TestDocument::editCommandsWithoutSelectionOrClipboard()
{
    CalculatorSession session;
    QPlainTextEdit *memo = VardeloForm->Memo1;
    AppendLine("alpha beta");
    memo->document()->setModified(false);
    QTextCursor cursor = memo->textCursor();
    cursor.setPosition(3);
    memo->setTextCursor(cursor);

    for (const char *item : {"Cut1", "Copy1", "Erase1", "Paste1"})
        Trigger(item);
    QCOMPARE(memo->toPlainText(), QStringLiteral("alpha beta\n"));
    QVERIFY(!CalculatorSession::Modified());
    QVERIFY(QGuiApplication::clipboard()->text().isEmpty());

    // An empty clipboard does not even delete a selection.
    Trigger("Selectall1");
    Trigger("Paste1");
    QCOMPARE(memo->toPlainText(), QStringLiteral("alpha beta\n"));
    QVERIFY(!CalculatorSession::Modified());
}

QTEST_MAIN(TestDocument)
#include "tst_document.moc"
