#include "calculator/framework/printer.h"

#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QScreen>

#include <cmath>
#include <memory>

namespace {

// Keeps Qt's "cannot be used on non-native printers" warning of the page
// setup dialog off the console while it lives; every other message goes
// on to the handler that was in place.
class QuietPageSetupWarning {
public:
    QuietPageSetupWarning() { previous_ = qInstallMessageHandler(&Filter); }
    ~QuietPageSetupWarning() { qInstallMessageHandler(previous_); }
    QuietPageSetupWarning(const QuietPageSetupWarning &) = delete;
    QuietPageSetupWarning &operator=(const QuietPageSetupWarning &) = delete;

private:
    static void Filter(QtMsgType type, const QMessageLogContext &context, const QString &message)
    {
        if (type == QtWarningMsg
            && message == QLatin1String("QPageSetupDialog: Cannot be used on non-native printers"))
            return;
        if (previous_)
            previous_(type, context, message);
    }

    static inline QtMessageHandler previous_ = nullptr;
};

// Whether a PDF file is whole: it ends with "startxref", the offset of its
// cross-reference table and "%%EOF", and the table stands at that offset.
// Qt's PDF writer does not report a write that fails once the last page
// has begun (a full disk, a file-size limit); what it leaves is a cut-off
// file, or one with a piece missing.  Anything but a regular file is not
// looked at.
bool PdfFileWhole(const QString &fileName)
{
    if (!QFileInfo(fileName).isFile())
        return true;
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const qint64 size = file.size();
    const qint64 tailSize = qMin<qint64>(size, 64);
    if (!file.seek(size - tailSize))
        return false;
    QByteArray tail = file.read(tailSize).trimmed();
    if (!tail.endsWith("%%EOF"))
        return false;
    tail.chop(5);
    const qsizetype keyword = tail.lastIndexOf("startxref");
    if (keyword < 0)
        return false;
    bool isNumber = false;
    const qint64 table = tail.mid(keyword + 9).trimmed().toLongLong(&isNumber);
    return isNumber && table >= 0 && table < size && file.seek(table) && file.read(4) == "xref";
}

QFont PrintFont(QFont font)
{
    if (font.pixelSize() > 0) {
        const QScreen *screen = QGuiApplication::primaryScreen();
        const qreal dpi = screen ? screen->logicalDotsPerInchY() : 96.0;
        font.setPointSizeF(font.pixelSize() * 72.0 / dpi);
    }
    return font;
}

}  // namespace

namespace {

// The printer of the program's jobs.  It lives until the program ends, like
// the printer settings it holds.
QPrinter *&CurrentPrinter()
{
    static QPrinter *printer = new QPrinter(QPrinter::HighResolution);
    return printer;
}

// Set by a job that failed.  Qt's PDF writer writes nothing more on a
// printer whose write once failed between two pages: every later job would
// give an empty file.
bool printerSpoiled = false;

// A new printer with the settings of `old`: the printer or output file,
// the page and the copies.
QPrinter *Renewed(const QPrinter &old)
{
    auto *printer = new QPrinter(QPrinter::HighResolution);
    printer->setOutputFormat(old.outputFormat());
    if (old.outputFormat() == QPrinter::NativeFormat)
        printer->setPrinterName(old.printerName());
    // An empty name would turn the printer back to the native format.
    if (!old.outputFileName().isEmpty())
        printer->setOutputFileName(old.outputFileName());
    printer->setPageLayout(old.pageLayout());
    printer->setFullPage(old.fullPage());
    printer->setCopyCount(old.copyCount());
    printer->setCollateCopies(old.collateCopies());
    printer->setPageOrder(old.pageOrder());
    printer->setColorMode(old.colorMode());
    printer->setDuplex(old.duplex());
    return printer;
}

}  // namespace

QPrinter &Printer()
{
    QPrinter *&printer = CurrentPrinter();
    if (printerSpoiled) {
        // Nothing refers to the printer between jobs.
        QPrinter *const renewed = Renewed(*printer);
        delete printer;
        printer = renewed;
        printerSpoiled = false;
    }
    return *printer;
}

bool ExecutePageSetup(QPrinter &printer, QWidget *parent)
{
    std::unique_ptr<QPageSetupDialog> dialog;
    {
        const QuietPageSetupWarning quiet;
        dialog = std::make_unique<QPageSetupDialog>(&printer, parent);
    }
    dialog->setObjectName(QStringLiteral("PrinterSetupDialog1"));
    return dialog->exec() == QDialog::Accepted;
}

TPrinterText::TPrinterText(QPrinter &printer, const QFont &font)
    : printer_(printer), font_(PrintFont(font)), metrics_(font_, &printer)
{
    pageWidth_ = printer_.width();
    pageHeight_ = printer_.height();
    tabWidth_ = 8 * metrics_.averageCharWidth();
    if (!painter_.begin(&printer_))
        Fail(QStringLiteral("Cannot start printing on \"%1\""));
    painter_.setFont(font_);
    painter_.setPen(Qt::black);
}

TPrinterText::~TPrinterText()
{
    if (painter_.isActive())
        painter_.end();
}

void TPrinterText::StartPrintedLine()
{
    const qreal height = metrics_.lineSpacing();
    if (nextLineTop_ > 0 && nextLineTop_ + height > pageHeight_) {
        if (!printer_.newPage())
            Fail(QStringLiteral("Printing on \"%1\" failed"));
        nextLineTop_ = 0;
    }
    lineTop_ = nextLineTop_;
    nextLineTop_ += height;
}

qreal TPrinterText::Advance(QStringView character, qreal x) const
{
    if (character == u"\t")
        return (std::floor(x / tabWidth_) + 1) * tabWidth_ - x;
    return metrics_.horizontalAdvance(character.toString());
}

void TPrinterText::WriteLine(const QString &line)
{
    StartPrintedLine();
    // Characters between tabs are drawn as one run.
    QString run;
    qreal runLeft = 0, x = 0;
    const auto drawRun = [&] {
        if (!run.isEmpty())
            painter_.drawText(QPointF(runLeft, lineTop_ + metrics_.ascent()), run);
        run.clear();
    };
    for (qsizetype i = 0; i < line.size();) {
        const qsizetype length =
            line[i].isHighSurrogate() && i + 1 < line.size() && line[i + 1].isLowSurrogate() ? 2
                                                                                              : 1;
        const QStringView character = QStringView(line).mid(i, length);
        i += length;
        qreal width = Advance(character, x);
        if (x > 0 && x + width > pageWidth_) {
            drawRun();
            StartPrintedLine();
            x = 0;
            width = Advance(character, x);
        }
        if (character == u"\t") {
            drawRun();
        } else {
            if (run.isEmpty())
                runLeft = x;
            run += character;
        }
        x += width;
    }
    drawRun();
}

void TPrinterText::Close()
{
    if (!painter_.isActive())
        return;
    const bool ended = painter_.end() && printer_.printerState() != QPrinter::Error;
    const bool toPdfFile =
        printer_.outputFormat() == QPrinter::PdfFormat && !printer_.outputFileName().isEmpty();
    if (!ended || (toPdfFile && !PdfFileWhole(printer_.outputFileName())))
        Fail(QStringLiteral("Printing on \"%1\" failed"));
}

void TPrinterText::Fail(const QString &format) const
{
    printerSpoiled = true;
    const QString target =
        printer_.outputFileName().isEmpty() ? printer_.printerName() : printer_.outputFileName();
    throw EPrinterError(format.arg(target).toStdString());
}
