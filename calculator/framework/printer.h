// The application's printer and the printer used as a text device.
//
// Printer() is the current printer: the print and page-setup dialogs
// change it, and every print job goes to it.  A TPrinterText writes lines
// of text to it from the top of the first page down:
//
//     TPrinterText device(Printer(), Memo1->font());   // starts the job
//     for (const QString &line : lines)
//         device.WriteLine(line);
//     device.Close();                                 // ends the job
//
// Each line starts on a new printed line.  A line wider than the page goes
// on in the next printed line, broken after the last character that fits
// (at least one character goes on every printed line).  Tab stops stand
// every eight average character widths.  A printed line that does not fit
// below the last one starts a new page.
//
// A job on the PDF printer writes its file itself, and so knows why a
// write failed: the messages end with the system's reason, as the file
// commands' messages do ("No space left on device", "File too large", "Is a
// directory").  The file may be any file that can be written, a device or
// a named pipe with a reader too.  A file is replaced only by a whole job:
// the job is written beside it and takes its place at the end, so that a
// job that fails leaves the file as it was (a device or a pipe is written
// directly).  A job on a native printer goes through the printer, which
// tells no reason.
//
// Failures raise EPrinterError; a job on a printer that is interrupted by
// one is ended with the lines written so far.  A job that cannot start
// raises "Cannot start printing on "<printer>". <reason>", one whose
// output cannot be written "Printing on "<printer>" failed. <reason>",
// where <printer> is the output file's name or else the printer's.
#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QString>

#include <memory>
#include <stdexcept>

class QPagedPaintDevice;
class QPdfWriter;
class QPrinter;
class QWidget;

class EPrinterError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The printer of every job, with its settings.  After a failed job it is
// a new printer with the same settings: a reference to it holds until the
// next call after a failure.
QPrinter &Printer();

// Shows the page setup dialog on the printer, modal over `parent`: paper,
// orientation and margins for the next job; true when the user accepted.
// Qt's dialog serves the PDF printer as it serves a native one, yet says
// on the console, each time it is made for a printer that is not native,
// that it cannot be used; that one warning is kept off the console.
bool ExecutePageSetup(QPrinter &printer, QWidget *parent);

class TPrinterText {
public:
    // Starts a job on the printer with the font.  A font sized in pixels
    // prints at the point size it has on the screen.
    TPrinterText(QPrinter &printer, const QFont &font);
    ~TPrinterText();
    TPrinterText(const TPrinterText &) = delete;
    TPrinterText &operator=(const TPrinterText &) = delete;

    void WriteLine(const QString &line);
    // Ends the job.
    void Close();

private:
    // The file of a job on the PDF printer.
    class Output;

    // Moves to a fresh printed line: the next one, or the top of a new page
    // when that one would not fit.
    void StartPrintedLine();
    // The width of the character (one code point) when it starts at x.
    qreal Advance(QStringView character, qreal x) const;
    // Raises the error with the job's target; a reason, when known, ends
    // the message.
    [[noreturn]] void Fail(const QString &format, const QString &reason = {}) const;

    QPrinter &printer_;
    // A PDF job paints on a writer into its own output, any other on the
    // printer.
    std::unique_ptr<Output> output_;
    std::unique_ptr<QPdfWriter> writer_;
    QPagedPaintDevice *device_;
    QFont font_;
    QFontMetricsF metrics_;
    QPainter painter_;
    qreal pageWidth_, pageHeight_, tabWidth_;
    qreal lineTop_ = 0, nextLineTop_ = 0;
};
