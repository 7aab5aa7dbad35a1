// Reading and writing the results document as a text file.
//
// In memory the document is one text whose lines are separated by '\n'
// (a final '\n' ends the last line).  On disk:
//   - written with CR LF line ends and no byte-order mark, in Windows-1252
//     when every character has a code there (always the case for the
//     calculator's own lines, which are ASCII), otherwise in UTF-8 with a
//     byte-order mark, so that no character is lost;
//   - read as UTF-8 or UTF-16 (little or big endian) when the file starts
//     with that byte-order mark, otherwise as Windows-1252; CR LF, a lone CR
//     and a lone LF each end a line.
// A file that cannot be read or written raises EFileError with the texts
// "Cannot open file "<name>". <reason>" and "Cannot create file "<name>".
// <reason>".  Only a regular file is read: a directory, a named pipe or a
// device is refused with the reason "Is a directory", "Is a named pipe" or
// "Is a device", without waiting and without reading from it.  Writing
// goes through a temporary file that replaces the old one only when
// everything was written: a failed write leaves the old file as it was.
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>
#include <stdexcept>

class EFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

QString ReadDocumentFile(const QString &FileName);
void WriteDocumentFile(const QString &FileName, const QString &Text);

// The Windows-1252 code page.  Its five unassigned bytes (0x81, 0x8D,
// 0x8F, 0x90, 0x9D) stand for the control characters of the same number,
// so that every byte reads as a character and writes back unchanged.
QString DecodeWindows1252(const QByteArray &bytes);
// Empty when some character has no code in Windows-1252.
std::optional<QByteArray> EncodeWindows1252(const QString &text);
