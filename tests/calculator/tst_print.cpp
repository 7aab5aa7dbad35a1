// Printing the results document: File Print to a PDF file, read back with
// pdftotext, and File Printer Setup.
//
// A4 turned to landscape is 297 x 210 mm = 841.89 x 595.28 pt
// (1 pt = 25.4/72 mm).
//
// Expected geometry, by hand.  The document's font prints at 13 px on a
// 96 dpi screen = 9.75 pt.  "Courier New" (or its metric twin Liberation
// Mono) advances 1229/2048 em per character and is (1705 + 615)/2048 em
// high, so a character is 0.6001 x 9.75 = 5.85 pt wide and a printed line
// 1.1328 x 9.75 = 11.05 pt high.  The test page is A4 (210 x 297 mm) with
// margins of 87 mm left and right and 137.75 mm top and bottom: 36 mm =
// 102.05 pt wide and 21.5 mm = 60.94 pt high.  So 102.05 / 5.85 = 17.4:
// 17 characters fit in a printed line; 60.94 / 11.05 = 5.5: 5 lines fit on
// a page.  A tab stop stands every 8 x 5.85 = 46.8 pt.
#include "support/calculatortest.h"

#include "calculator/framework/printer.h"
#include "calculator/results.h"
#include "calculator/vardelo2.h"

#include <QDir>
#include <QFile>
#include <QPageSetupDialog>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

#include <algorithm>

#include <sys/stat.h>

namespace {

constexpr double CharacterWidth = 5.85;   // pt
constexpr double LineHeight = 11.05;      // pt
constexpr double LeftMargin = 246.61;     // 87 mm in pt
constexpr double TopMargin = 390.47;      // 137.75 mm in pt

struct Word {
    double left, top;
    QString text;
};
// One printed line: its words, left to right.
using PrintedLine = QList<Word>;
using Page = QList<PrintedLine>;

void UseTestPage(const QString &pdf)
{
    QPrinter &printer = Printer();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                      QMarginsF(87, 137.75, 87, 137.75),
                                      QPageLayout::Millimeter));
}

// What pdftotext makes of the PDF: its pages with their words and sizes
// in points, as XHTML.
QByteArray PdfToText(const QString &pdf)
{
    const QString tool = QStandardPaths::findExecutable("pdftotext");
    if (tool.isEmpty()) {
        QTest::qFail("pdftotext is missing (Debian package poppler-utils)", __FILE__, __LINE__);
        return {};
    }
    QProcess process;
    process.start(tool, {"-bbox", pdf, "-"});
    if (!process.waitForFinished(30000) || process.exitCode() != 0) {
        QTest::qFail("pdftotext failed", __FILE__, __LINE__);
        return {};
    }
    return process.readAllStandardOutput();
}

// The size of each page of the PDF, in points.
QList<QSizeF> PageSizes(const QString &pdf)
{
    QList<QSizeF> sizes;
    QXmlStreamReader xml(PdfToText(pdf));
    while (!xml.atEnd())
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == u"page")
            sizes.append(QSizeF(xml.attributes().value("width").toDouble(),
                                xml.attributes().value("height").toDouble()));
    return sizes;
}

// The words of each page of the PDF, grouped into printed lines by their
// top edge, top to bottom and left to right.
QList<Page> ReadPdf(const QString &pdf)
{
    QList<QList<Word>> words;  // per page
    QXmlStreamReader xml(PdfToText(pdf));
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == u"page") {
            words.append(QList<Word>());
        } else if (xml.name() == u"word") {
            const double left = xml.attributes().value("xMin").toDouble();
            const double top = xml.attributes().value("yMin").toDouble();
            words.last().append({left, top, xml.readElementText()});
        }
    }
    QList<Page> pages;
    for (QList<Word> &page : words) {
        std::sort(page.begin(), page.end(), [](const Word &a, const Word &b) {
            return qAbs(a.top - b.top) > 0.5 ? a.top < b.top : a.left < b.left;
        });
        pages.append(Page());
        for (const Word &word : page) {
            if (pages.last().isEmpty() || qAbs(pages.last().last().first().top - word.top) > 0.5)
                pages.last().append(PrintedLine());
            pages.last().last().append(word);
        }
    }
    return pages;
}

// The text of a printed line with its words joined by one blank.
QString Text(const PrintedLine &line)
{
    QStringList words;
    for (const Word &word : line)
        words.append(word.text);
    return words.join(' ');
}

QList<QStringList> Texts(const QList<Page> &pages)
{
    QList<QStringList> texts;
    for (const Page &page : pages) {
        texts.append(QStringList());
        for (const PrintedLine &line : page)
            texts.last().append(Text(line));
    }
    return texts;
}

bool Near(double actual, double expected)
{
    return qAbs(actual - expected) <= 0.01 * qAbs(expected) + 0.2;
}

}  // namespace

class TestPrint : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void oneDocumentLinePerPrintedLineAndPageBreaks();
    void longLinesContinueOnTheNextPrintedLine();
    void tabStopsEveryEightCharacters();
    void emptyDocumentPrintsAnEmptyJob();
    void cancelPrintsNothing();
    void aPrinterThatCannotPrintIsReported_data();
    void aPrinterThatCannotPrintIsReported();
    void anOutputThatCannotBeWrittenIsReported_data();
    void anOutputThatCannotBeWrittenIsReported();
    void aTargetThatIsNotARegularFile_data();
    void aTargetThatIsNotARegularFile();
    void aPipeWithoutAReaderIsRefused();
    void printerSetupShowsThePageSetupDialog();
    void printerSetupAppliesToTheNextPdfQuietly();

private:
    // File Print, answered with Enter (the dialog's Print button); true
    // when the dialog came and no message.
    bool PrintDocument(CalculatorSession &session);

    std::unique_ptr<QTemporaryDir> dir_;
    QString pdf_;
};

void TestPrint::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
}

void TestPrint::init()
{
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
    pdf_ = QDir(dir_->path()).filePath("out.pdf");
    UseTestPage(pdf_);
}

bool TestPrint::PrintDocument(CalculatorSession &session)
{
    const bool shown = session.Choose("Print1", [](QDialog *dialog) {
        QVERIFY(qobject_cast<QPrintDialog *>(dialog));
        QTest::keyClick(dialog, Qt::Key_Return);
    });
    return shown && session.Messages().isEmpty();
}

void TestPrint::oneDocumentLinePerPrintedLineAndPageBreaks()
{
    CalculatorSession session;
    AppendLine("TITLE (n = 12)\r\n");
    for (int i = 1; i <= 10; ++i)
        AppendLine(QStringLiteral("line %1").arg(i));
    QVERIFY(PrintDocument(session));

    const QList<Page> pages = ReadPdf(pdf_);
    // 12 document lines (one of them empty), 5 to a page.
    QCOMPARE(Texts(pages), (QList<QStringList>{
                               {"TITLE (n = 12)", "line 1", "line 2", "line 3"},
                               {"line 4", "line 5", "line 6", "line 7", "line 8"},
                               {"line 9", "line 10"},
                           }));
    // Every page starts at the top margin; the empty line keeps its place.
    for (const Page &page : pages) {
        QVERIFY2(Near(page[0][0].top, TopMargin), qPrintable(QString::number(page[0][0].top)));
        QVERIFY(Near(page[0][0].left, LeftMargin));
    }
    QVERIFY(Near(pages[0][1][0].top - pages[0][0][0].top, 2 * LineHeight));
    QVERIFY(Near(pages[1][4][0].top - pages[1][0][0].top, 4 * LineHeight));
    // Printing changes nothing in the document.
    QVERIFY(CalculatorSession::Modified());
    QCOMPARE(CalculatorSession::MemoLines().size(), 12);
}

void TestPrint::longLinesContinueOnTheNextPrintedLine()
{
    CalculatorSession session;
    AppendLine("abcdefghijklmnopqrstuvwxyz0123456789ABCD");
    AppendLine("aaaa bbbb cccc dddd eeee");
    AppendLine("seventeen chars!!");
    QVERIFY(PrintDocument(session));

    // Broken after the 17th character, inside words too; a line of exactly
    // 17 characters stays whole.
    const QList<Page> pages = ReadPdf(pdf_);
    QCOMPARE(Texts(pages), (QList<QStringList>{
                               {"abcdefghijklmnopq", "rstuvwxyz01234567", "89ABCD",
                                "aaaa bbbb cccc dd", "dd eeee"},
                               {"seventeen chars!!"},
                           }));
    for (const PrintedLine &line : pages[0])
        QVERIFY(Near(line[0].left, LeftMargin));
}

void TestPrint::tabStopsEveryEightCharacters()
{
    CalculatorSession session;
    AppendLine("a\tb");
    AppendLine("abcdefghi\tj");
    AppendLine("\tx\ty");
    QVERIFY(PrintDocument(session));

    const QList<Page> pages = ReadPdf(pdf_);
    QCOMPARE(Texts(pages), (QList<QStringList>{{"a b", "abcdefghi j", "x y"}}));
    const Page &page = pages[0];
    const auto at = [](const Word &word) { return word.left - LeftMargin; };
    QVERIFY(Near(at(page[0][1]), 8 * CharacterWidth));
    QVERIFY(Near(at(page[1][1]), 16 * CharacterWidth));  // past the first stop
    QVERIFY(Near(at(page[2][0]), 8 * CharacterWidth));
    QVERIFY(Near(at(page[2][1]), 16 * CharacterWidth));
}

void TestPrint::emptyDocumentPrintsAnEmptyJob()
{
    CalculatorSession session;
    QVERIFY(PrintDocument(session));
    QVERIFY(QFile::exists(pdf_));
    const QList<Page> pages = ReadPdf(pdf_);
    QCOMPARE(pages.size(), 1);
    QVERIFY(pages[0].isEmpty());
}

void TestPrint::cancelPrintsNothing()
{
    CalculatorSession session;
    AppendLine("RESULT");
    QVERIFY(session.Choose("Print1",
                           [](QDialog *dialog) { QTest::keyClick(dialog, Qt::Key_Escape); }));
    QVERIFY(!QFile::exists(pdf_));
    QVERIFY(session.Messages().isEmpty());
}

void TestPrint::aPrinterThatCannotPrintIsReported_data()
{
    QTest::addColumn<bool>("fileInstead");
    QTest::addColumn<QString>("reason");
    QTest::newRow("folder gone") << false << "No such file or directory";
    // The path cannot be written even by root.
    QTest::newRow("a file in place of the folder") << true << "Not a directory";
}

void TestPrint::aPrinterThatCannotPrintIsReported()
{
    QFETCH(bool, fileInstead);
    QFETCH(QString, reason);
    CalculatorSession session;
    AppendLine("RESULT");
    // The folder of the output file goes away, or becomes a regular file,
    // once the dialog has checked it.
    const QString folder = QDir(dir_->path()).filePath("gone");
    QVERIFY(QDir().mkpath(folder));
    const QString pdf = QDir(folder).filePath("out.pdf");
    Printer().setOutputFileName(pdf);
    QVERIFY(session.Choose("Print1", [&](QDialog *dialog) {
        QTest::keyClick(dialog, Qt::Key_Return);
        QDir(folder).removeRecursively();
        if (fileInstead) {
            QFile file(folder);
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
    }));
    QCOMPARE(session.Messages().size(), 1);
    QCOMPARE(session.Messages()[0].caption, QStringLiteral("Vardelo 32 bit"));
    QCOMPARE(session.Messages()[0].text,
             QStringLiteral("Cannot start printing on \"%1\". %2.").arg(pdf, reason));
    QCOMPARE(session.Messages()[0].icon, QMessageBox::Critical);
    QVERIFY(!QFile::exists(pdf));
    QCOMPARE(CalculatorSession::MemoLines(), QStringList{"RESULT"});
}

void TestPrint::anOutputThatCannotBeWrittenIsReported_data()
{
    QTest::addColumn<int>("lines");
    QTest::addColumn<bool>("older");
    // The PDF writer keeps a failed write to itself unless a page follows.
    QTest::newRow("one page") << 1 << false;
    QTest::newRow("many pages") << 400 << false;
    // A file of that name, which the print dialog asks to replace: Yes.
    QTest::newRow("over an older file") << 400 << true;
}

void TestPrint::anOutputThatCannotBeWrittenIsReported()
{
    QFETCH(int, lines);
    QFETCH(bool, older);
    CalculatorSession session;
    for (int i = 1; i <= lines; ++i)
        AppendLine(QStringLiteral("line %1").arg(i));
    const QStringList document = CalculatorSession::MemoLines();
    QFile file(pdf_);
    if (older) {
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("older\n") == 6);
        file.close();
        QCOMPARE(chmod(QFile::encodeName(pdf_).constData(), 0640), 0);
    }
    session.AnswerWith({QMessageBox::Yes});
    {
        // As when the disk fills up during the job.
        FileSizeLimit limit(1000);
        QVERIFY(session.Choose("Print1", [](QDialog *dialog) {
            QVERIFY(qobject_cast<QPrintDialog *>(dialog));
            QTest::keyClick(dialog, Qt::Key_Return);
        }));
    }
    QCOMPARE(session.Messages().size(), older ? 2 : 1);
    QCOMPARE(session.Messages().last().caption, QStringLiteral("Vardelo 32 bit"));
    // The system's reason ends the message; the default handler adds the
    // full stop.
    QCOMPARE(session.Messages().last().text,
             QStringLiteral("Printing on \"%1\" failed. File too large.").arg(pdf_));
    QCOMPARE(CalculatorSession::MemoLines(), document);
    QVERIFY(CalculatorSession::Modified());

    // The target is as it was, and nothing is left of the job beside it.
    QCOMPARE(QDir(dir_->path()).entryList(QDir::Files | QDir::Hidden),
             older ? QStringList{"out.pdf"} : QStringList());
    QVERIFY(!older || (file.open(QIODevice::ReadOnly) && file.readAll() == "older\n"));
    file.close();

    // With room again, the next job prints the whole document, on the same
    // page: 5 lines to a page.  An older file keeps its permissions.
    session.ClearMessages();
    session.AnswerWith({QMessageBox::Yes});
    QVERIFY(
        session.Choose("Print1", [](QDialog *dialog) { QTest::keyClick(dialog, Qt::Key_Return); }));
    QCOMPARE(session.Messages().size(), older ? 1 : 0);
    const QList<QStringList> pages = Texts(ReadPdf(pdf_));
    QCOMPARE(pages.size(), (lines + 4) / 5);
    QCOMPARE(pages.first().first(), QStringLiteral("line 1"));
    QCOMPARE(pages.last().last(), QStringLiteral("line %1").arg(lines));
    struct stat status {};
    QVERIFY(!older
            || (stat(QFile::encodeName(pdf_).constData(), &status) == 0
                && (status.st_mode & 0777) == 0640));
}

void TestPrint::aTargetThatIsNotARegularFile_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("error");
    // A device that is always full, as a disk that fills up.
    QTest::newRow("full device") << "/dev/full"
                                 << "Printing on \"/dev/full\" failed. No space left on device.";
    // A device that takes everything: the job prints.
    QTest::newRow("null device") << "/dev/null" << QString();
}

// The output file chosen in the print dialog is a device; the dialog asks
// before it replaces an existing file, and Yes goes on.
void TestPrint::aTargetThatIsNotARegularFile()
{
    QFETCH(QString, target);
    QFETCH(QString, error);
    CalculatorSession session;
    for (int i = 1; i <= 20; ++i)
        AppendLine(QStringLiteral("line %1").arg(i));
    Printer().setOutputFileName(target);
    session.AnswerWith({QMessageBox::Yes});
    QVERIFY(
        session.Choose("Print1", [](QDialog *dialog) { QTest::keyClick(dialog, Qt::Key_Return); }));
    QVERIFY(!session.Messages().isEmpty());
    QVERIFY2(session.Messages()[0].text.contains("overwrite"),
             qPrintable(session.Messages()[0].text));
    if (error.isEmpty()) {
        QCOMPARE(session.Messages().size(), 1);
    } else {
        QCOMPARE(session.Messages().size(), 2);
        QCOMPARE(session.Messages()[1].caption, QStringLiteral("Vardelo 32 bit"));
        QCOMPARE(session.Messages()[1].text, error);
        QCOMPARE(session.Messages()[1].icon, QMessageBox::Critical);
    }
    QCOMPARE(CalculatorSession::MemoLines().size(), 20);
}

// A named pipe whose reader has gone once the dialog checked it: refused
// at once, the window does not wait for another reader.  (Qt's print dialog
// itself opens the file it checks, and would wait there.)
void TestPrint::aPipeWithoutAReaderIsRefused()
{
    CalculatorSession session;
    AppendLine("RESULT");
    const QString pipe = QDir(dir_->path()).filePath("pipe");
    Printer().setOutputFileName(pipe);
    QVERIFY(session.Choose("Print1", [&pipe](QDialog *dialog) {
        QTest::keyClick(dialog, Qt::Key_Return);
        QCOMPARE(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    }));
    QCOMPARE(session.Messages().size(), 1);
    QCOMPARE(
        session.Messages()[0].text,
        QStringLiteral("Cannot start printing on \"%1\". No such device or address.").arg(pipe));
}

void TestPrint::printerSetupShowsThePageSetupDialog()
{
    CalculatorSession session;
    QVERIFY(session.Choose("Printersetup1", [](QDialog *dialog) {
        QVERIFY(qobject_cast<QPageSetupDialog *>(dialog));
        QTest::keyClick(dialog, Qt::Key_Escape);
    }));
    QVERIFY(session.Messages().isEmpty());
    QVERIFY(!CalculatorSession::Modified());
}

// The page setup serves the PDF printer: the orientation chosen there is
// that of the next print, and Qt's warning about printers that are not
// native stays off the console.
void TestPrint::printerSetupAppliesToTheNextPdfQuietly()
{
    QTest::failOnWarning(QRegularExpression("QPageSetupDialog"));
    CalculatorSession session;
    AppendLine("RESULT");
    QVERIFY(session.Choose("Printersetup1", [](QDialog *dialog) {
        QRadioButton *landscape = nullptr;
        const auto buttons = dialog->findChildren<QRadioButton *>();
        for (QRadioButton *button : buttons)
            if (button->text().remove('&') == QStringLiteral("Landscape"))
                landscape = button;
        QVERIFY(landscape);
        landscape->click();
        QTest::keyClick(dialog, Qt::Key_Return);
    }));
    QCOMPARE(Printer().pageLayout().orientation(), QPageLayout::Landscape);
    QVERIFY(PrintDocument(session));
    const QList<QSizeF> sizes = PageSizes(pdf_);
    QCOMPARE(sizes.size(), 1);
    QVERIFY2(Near(sizes[0].width(), 841.89) && Near(sizes[0].height(), 595.28),
             qPrintable(QStringLiteral("%1 x %2").arg(sizes[0].width()).arg(sizes[0].height())));
    QCOMPARE(Texts(ReadPdf(pdf_)), QList<QStringList>{{"RESULT"}});
}

QTEST_MAIN(TestPrint)
#include "tst_print.moc"
