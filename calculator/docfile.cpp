#include "calculator/docfile.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>

#include <array>
#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Characters of the bytes 0x80 to 0x9F; the unassigned ones keep their
// own number.
constexpr std::array<char16_t, 32> HighControlRange = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

[[noreturn]] void Fail(const char *format, const QString &fileName, const QString &reason)
{
    throw EFileError(QString::fromLatin1(format).arg(fileName, reason).toStdString());
}

QString Decode(const QByteArray &bytes)
{
    const auto startsWith = [&bytes](const char *mark) { return bytes.startsWith(mark); };
    if (startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(bytes.mid(3));
    if (startsWith("\xFF\xFE"))
        return QStringDecoder(QStringConverter::Utf16LE)(bytes.mid(2));
    if (startsWith("\xFE\xFF"))
        return QStringDecoder(QStringConverter::Utf16BE)(bytes.mid(2));
    return DecodeWindows1252(bytes);
}

// Turns CR LF and a lone CR into LF, in one pass over the text.
void EndLinesWithLf(QString &text)
{
    QChar *out = text.data();
    const QChar *in = out;
    const QChar *const end = in + text.size();
    while (in != end) {
        const QChar character = *in++;
        if (character == u'\r') {
            if (in != end && *in == u'\n')
                ++in;
            *out++ = u'\n';
        } else {
            *out++ = character;
        }
    }
    text.truncate(out - text.constData());
}

// Why a file of this kind is not read, in the words the system uses for
// its own reasons.
QString NotReadable(mode_t mode)
{
    if (S_ISDIR(mode))
        return QStringLiteral("Is a directory");
    if (S_ISFIFO(mode))
        return QStringLiteral("Is a named pipe");
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return QStringLiteral("Is a device");
    return QStringLiteral("Is not a regular file");
}

}  // namespace

QString DecodeWindows1252(const QByteArray &bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    QChar *out = text.data();
    for (const char byte : bytes) {
        const auto code = static_cast<unsigned char>(byte);
        *out++ = code >= 0x80 && code < 0xA0 ? QChar(HighControlRange[code - 0x80])
                                             : QChar(char16_t(code));
    }
    return text;
}

std::optional<QByteArray> EncodeWindows1252(const QString &text)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    for (const QChar character : text) {
        const char16_t code = character.unicode();
        if (code < 0x80 || (code >= 0xA0 && code <= 0xFF)) {
            bytes.append(static_cast<char>(code));
            continue;
        }
        qsizetype found = -1;
        for (qsizetype i = 0; i < qsizetype(HighControlRange.size()); ++i)
            if (HighControlRange[i] == code)
                found = i;
        if (found < 0)
            return std::nullopt;
        bytes.append(static_cast<char>(0x80 + found));
    }
    return bytes;
}

QString ReadDocumentFile(const QString &FileName)
{
    // Only a regular file is read: a directory, a named pipe or a device
    // (also behind a link) is refused before anything is read from it.  The
    // file is opened without waiting, since opening a named pipe would wait
    // for a writer, and stays so: a regular file that has nothing to give
    // yet (a kernel message file) fails the read instead of holding it.
    const int handle =
        ::open(QFile::encodeName(FileName).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (handle < 0)
        Fail("Cannot open file \"%1\". %2", FileName, qt_error_string(errno));
    QFile file;
    if (!file.open(handle, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(handle);
        Fail("Cannot open file \"%1\". %2", FileName, file.errorString());
    }
    struct stat status {};
    if (::fstat(handle, &status) != 0)
        Fail("Cannot open file \"%1\". %2", FileName, qt_error_string(errno));
    if (!S_ISREG(status.st_mode))
        Fail("Cannot open file \"%1\". %2", FileName, NotReadable(status.st_mode));

    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        Fail("Cannot open file \"%1\". %2", FileName, file.errorString());

    QString text = Decode(bytes);
    EndLinesWithLf(text);
    return text;
}

void WriteDocumentFile(const QString &FileName, const QString &Text)
{
    QString text = Text;
    text.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    std::optional<QByteArray> bytes = EncodeWindows1252(text);
    if (!bytes)
        bytes = QByteArray("\xEF\xBB\xBF") + text.toUtf8();

    // Unbuffered: a buffered QSaveFile can report success after the flush
    // of its last bytes failed, and would then put a cut-off file in place
    // of the old one.
    QSaveFile file(FileName);
    bool written = file.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    for (qint64 done = 0; written && done < bytes->size();) {
        const qint64 count = file.write(bytes->constData() + done, bytes->size() - done);
        written = count > 0;
        done += count;
    }
    if (!written || !file.commit())
        Fail("Cannot create file \"%1\". %2", FileName, file.errorString());
}
