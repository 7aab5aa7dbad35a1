#include "calculator/framework/printer.h"

#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QIODevice>
#include <QPageSetupDialog>
#include <QPdfWriter>
#include <QPrinter>
#include <QRandomGenerator>
#include <QScreen>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <memory>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

// Set by a job on the printer itself that failed.  Qt's PDF writer, which
// also feeds the native printers, writes nothing more on a printer whose
// write once failed between two pages: every later job would give an empty
// file.
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

// The file of a PDF job, written through a buffer of its own so that the
// first write that fails is known with the system's reason; nothing is
// written after it.  Qt's PDF writer writes its file front to back and
// never seeks in it.
//
// A regular file, or one that does not exist yet, is written as a new file
// beside it, which takes its place only when the whole job was written: a
// job that fails leaves the old file, or none, as it was.  The new file
// gets the old one's permissions, and a link to the file stays a link.
// Other targets (a device, a named pipe with a reader), and a file whose
// folder takes no new file, are written directly.
class TPrinterText::Output : public QIODevice {
public:
    explicit Output(const QString &fileName)
    {
        const QByteArray path = QFile::encodeName(fileName);
        struct stat status {};
        if (::stat(path.constData(), &status) == 0) {
            if (S_ISREG(status.st_mode)) {
                // Beside the file itself where the name is a link to it.
                const QString file = QFileInfo(fileName).canonicalFilePath();
                OpenBeside(file.isEmpty() ? path : QFile::encodeName(file), status.st_mode & 0777);
                // What the umask took away.
                if (handle_ >= 0)
                    ::fchmod(handle_, status.st_mode & 07777);
            }
        } else if (errno == ENOENT && ::lstat(path.constData(), &status) != 0) {
            // A new file.  A link that leads nowhere is written directly,
            // which creates the file where it leads.
            OpenBeside(path, 0666);
        }
        if (handle_ < 0 && reason_.isEmpty())
            OpenTarget(path);
        if (handle_ >= 0)
            QIODevice::open(QIODevice::WriteOnly);
    }
    ~Output() override
    {
        if (handle_ >= 0)
            ::close(handle_);
        if (!temporary_.isEmpty())
            ::unlink(temporary_.constData());
    }
    Output(const Output &) = delete;
    Output &operator=(const Output &) = delete;

    bool isSequential() const override { return true; }
    // Why the file could not be opened or written; empty while all went
    // well.
    QString Reason() const { return reason_; }
    // Writes what is buffered and closes the file, which then takes the
    // target's place; false when anything could not be written.
    bool Finish()
    {
        Flush();
        if (handle_ >= 0 && !temporary_.isEmpty() && ::fsync(handle_) != 0 && errno != EINVAL
            && reason_.isEmpty())
            reason_ = qt_error_string(errno);
        if (handle_ >= 0 && ::close(handle_) != 0 && reason_.isEmpty())
            reason_ = qt_error_string(errno);
        handle_ = -1;
        if (!temporary_.isEmpty() && reason_.isEmpty()) {
            if (::rename(temporary_.constData(), target_.constData()) == 0)
                temporary_.clear();
            else
                reason_ = qt_error_string(errno);
        }
        QIODevice::close();
        return reason_.isEmpty();
    }

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *data, qint64 size) override
    {
        if (!reason_.isEmpty())
            return -1;
        buffer_.append(data, size);
        if (buffer_.size() >= BufferSize)
            Flush();
        return reason_.isEmpty() ? size : -1;
    }

private:
    static constexpr qsizetype BufferSize = 1 << 16;

    void Flush()
    {
        const char *data = buffer_.constData();
        qsizetype left = handle_ >= 0 ? buffer_.size() : 0;
        while (left > 0 && reason_.isEmpty()) {
            const ssize_t written = ::write(handle_, data, size_t(left));
            if (written < 0 && errno == EINTR)
                continue;
            if (written <= 0)
                reason_ = qt_error_string(written < 0 ? errno : EIO);
            else {
                data += written;
                left -= written;
            }
        }
        buffer_.clear();
    }

    // Creates the new file that is to replace `target`, with the
    // permissions given (less the umask).  A folder that refuses it leaves
    // the target to be written directly; any other failure is the job's.
    void OpenBeside(const QByteArray &target, mode_t permissions)
    {
        for (int attempt = 0; handle_ < 0 && attempt < 100; ++attempt) {
            temporary_ =
                target + '.' + QByteArray::number(QRandomGenerator::global()->generate(), 36);
            handle_ = ::open(temporary_.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                             permissions);
            if (handle_ < 0 && errno != EEXIST)
                break;
        }
        if (handle_ < 0) {
            if (errno != EACCES && errno != EPERM && errno != ENAMETOOLONG)
                reason_ = qt_error_string(errno);
            temporary_.clear();
            return;
        }
        target_ = target;
    }
    // Creates or empties the target itself.  A named pipe without a reader
    // is refused at once instead of waiting for one.
    void OpenTarget(const QByteArray &path)
    {
        handle_ =
            ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NONBLOCK, 0666);
        if (handle_ < 0) {
            reason_ = qt_error_string(errno);
            return;
        }
        // Writes to a pipe wait for its reader, as writes to a file do.
        ::fcntl(handle_, F_SETFL, ::fcntl(handle_, F_GETFL) & ~O_NONBLOCK);
    }

    int handle_ = -1;
    // The new file while it is written, and the file it is to replace.
    QByteArray temporary_, target_;
    QByteArray buffer_;
    QString reason_;
};

namespace {

QString Target(const QPrinter &printer)
{
    return printer.outputFileName().isEmpty() ? printer.printerName() : printer.outputFileName();
}

[[noreturn]] void Raise(const QString &format, const QString &target, const QString &reason)
{
    QString message = format.arg(target);
    if (!reason.isEmpty())
        message += QStringLiteral(". ") + reason;
    throw EPrinterError(message.toStdString());
}

bool ToPdfFile(const QPrinter &printer)
{
    return printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty();
}

// The writer of a PDF job: the printer's page, resolution and document
// details, which give the file that the printer itself would write.
std::unique_ptr<QPdfWriter> PdfWriter(const QPrinter &printer, QIODevice &output)
{
    auto writer = std::make_unique<QPdfWriter>(&output);
    writer->setPdfVersion(printer.pdfVersion());
    writer->setPageLayout(printer.pageLayout());
    writer->setResolution(printer.resolution());
    writer->setTitle(printer.docName());
    writer->setCreator(printer.creator());
    return writer;
}

}  // namespace

TPrinterText::TPrinterText(QPrinter &printer, const QFont &font)
    : printer_(printer),
      output_(ToPdfFile(printer) ? std::make_unique<Output>(printer.outputFileName()) : nullptr),
      writer_(output_ && output_->isOpen() ? PdfWriter(printer, *output_) : nullptr),
      device_(writer_ ? static_cast<QPagedPaintDevice *>(writer_.get()) : &printer),
      font_(PrintFont(font)),
      metrics_(font_, device_)
{
    if (output_ && !output_->isOpen())
        Fail(QStringLiteral("Cannot start printing on \"%1\""), output_->Reason());
    pageWidth_ = device_->width();
    pageHeight_ = device_->height();
    tabWidth_ = 8 * metrics_.averageCharWidth();
    if (!painter_.begin(device_))
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
    // What the last page break or the PDF writer's buffer wrote so far.
    if (output_ && !output_->Reason().isEmpty())
        Fail(QStringLiteral("Printing on \"%1\" failed"), output_->Reason());
    const qreal height = metrics_.lineSpacing();
    if (nextLineTop_ > 0 && nextLineTop_ + height > pageHeight_) {
        const bool started = writer_ ? writer_->newPage() : printer_.newPage();
        if (!started)
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
    const bool ended = painter_.end();
    if (output_) {
        if (!output_->Finish() || !ended)
            Fail(QStringLiteral("Printing on \"%1\" failed"), output_->Reason());
    } else if (!ended || printer_.printerState() == QPrinter::Error) {
        Fail(QStringLiteral("Printing on \"%1\" failed"));
    }
}

void TPrinterText::Fail(const QString &format, const QString &reason) const
{
    if (!output_)
        printerSpoiled = true;
    Raise(format, Target(printer_), reason);
}
