#pragma once
// Plain text files: read as Windows-1251 or UTF-8, written as Windows-1251 with CR LF.
#include <QString>
#include <QStringList>

namespace ogrado {

// Decodes file bytes: UTF-8 when they start with a BOM or hold valid multi-byte
// UTF-8 sequences, otherwise Windows-1251.
QString decodeText(const QByteArray& bytes);

// The encoding decodeText reads a file's bytes in; a file changed in place is written
// back in it.
enum class TextEncoding { Cp1251, Utf8, Utf8WithBom };
TextEncoding textEncodingOf(const QByteArray& bytes);
// Bytes of a text in an encoding (without a BOM). Throws AppError naming the first
// character the encoding cannot hold (Windows-1251).
QByteArray encodeTextStrictly(const QString& text, TextEncoding encoding);
// The text of bytes in an encoding (a BOM is not expected).
QString decodeTextAs(const QByteArray& bytes, TextEncoding encoding);

// Splits a text into lines at CR LF, LF or CR; a final line break ends the last line
// and does not start an empty one.
QStringList splitLines(const QString& text);

// Reads a whole file as lines. Throws AppError naming the file when it cannot be read.
QStringList readTextLines(const QString& path);

// Windows-1251 bytes of a text; characters outside the code page become "?".
QByteArray encodeCp1251(const QString& text);

// The first character of `text` that Windows-1251 cannot hold (a surrogate pair is one
// character), or an empty text when every character can be written.
QString firstOutsideCp1251(const QString& text);

// Writes the lines, each followed by CR LF, in Windows-1251. The file is replaced whole
// or not at all. Throws AppError naming the file and the reason, writing nothing, when
// a line holds a character Windows-1251 cannot (the message names it and its line) or
// when the path is a directory, a device or a pipe.
void writeTextLines(const QString& path, const QStringList& lines);

// Writes the bytes to a temporary file and renames it over `path`: the file is replaced
// whole or not at all. Throws AppError naming the file and the reason.
void writeFileBytes(const QString& path, const QByteArray& bytes);

// What readFileBytes takes besides a regular file.
enum class FileSource { RegularOnly, StreamsToo };

// The bytes of a file of at most `maxBytes` bytes. Throws AppError naming the file when
// it cannot be read or is larger. A device or a pipe is refused, or with StreamsToo (a
// command line's `<(…)`) read up to the same bound, never without end.
QByteArray readFileBytes(const QString& path, qint64 maxBytes, FileSource source = FileSource::RegularOnly);

}  // namespace ogrado
