#include "common/text_file.h"

#include "common/app_error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>

#include <cerrno>

namespace ogrado {

namespace {

// Why a file cannot be read, and what to do: "файл не найден. Проверьте …".
QString readFailure(const QString& path, const QFileDevice& file)
{
    const QFileInfo info(path);
    if (!info.exists())
        return QStringLiteral("файл не найден. Проверьте имя файла и каталог.");
    if (info.isDir())
        return QStringLiteral("это каталог, а не файл. Укажите файл.");
    if (!info.isReadable())
        return QStringLiteral("нет прав на чтение. Разрешите чтение файла или скопируйте его в свой каталог.");
    return QStringLiteral("ошибка чтения (%1). Проверьте диск и повторите попытку.").arg(file.errorString());
}

// Why a file cannot be written, and what to do (in words that fit a file the user
// chose as well as one of the program's own).
QString writeFailure(const QString& path, const QFileDevice& file, int systemError = 0)
{
    const QFileInfo info(path);
    const QFileInfo dir(info.absolutePath());
    const QString retry = QStringLiteral("Проверьте диск и повторите попытку.");
    if (!dir.exists())
        return QStringLiteral("каталог «%1» не существует. Создайте этот каталог.")
            .arg(QDir::toNativeSeparators(info.absolutePath()));
    if (info.isDir())
        return QStringLiteral("это каталог, а не файл. Укажите имя файла.");
    if (!dir.isWritable())
        return QStringLiteral("нет прав на запись в каталог «%1». Разрешите запись в этот каталог.")
            .arg(QDir::toNativeSeparators(info.absolutePath()));
    if (info.exists() && !info.isWritable())
        return QStringLiteral("нет прав на запись в файл. Снимите с файла защиту от записи.");
    if (file.error() == QFileDevice::ResourceError || systemError == ENOSPC)
        return QStringLiteral("недостаточно места на диске. Освободите место на диске.");
    if (systemError == EFBIG)
        return QStringLiteral("файл превышает допустимый размер. %1").arg(retry);
    if (systemError != 0)
        return QStringLiteral("ошибка записи (%1). %2").arg(qt_error_string(systemError), retry);
    return QStringLiteral("ошибка записи (%1). %2").arg(file.errorString(), retry);
}

}  // namespace

TextEncoding textEncodingOf(const QByteArray& bytes)
{
    static const QByteArray bom("\xEF\xBB\xBF");
    if (bytes.startsWith(bom))
        return TextEncoding::Utf8WithBom;
    bool highBytes = false;
    for (char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            highBytes = true;
            break;
        }
    }
    if (highBytes) {
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString text = utf8.decode(bytes);  // the decoder sees the bytes only when converted
        if (!utf8.hasError())
            return TextEncoding::Utf8;
    }
    return TextEncoding::Cp1251;
}

QString decodeTextAs(const QByteArray& bytes, TextEncoding encoding)
{
    if (encoding == TextEncoding::Cp1251)
        return QStringDecoder("windows-1251").decode(bytes);
    return QString::fromUtf8(bytes);
}

QString decodeText(const QByteArray& bytes)
{
    const TextEncoding encoding = textEncodingOf(bytes);
    return decodeTextAs(encoding == TextEncoding::Utf8WithBom ? bytes.mid(3) : bytes, encoding);
}

QByteArray encodeTextStrictly(const QString& text, TextEncoding encoding)
{
    if (encoding != TextEncoding::Cp1251)
        return text.toUtf8();
    if (const QString bad = firstOutsideCp1251(text); !bad.isEmpty())
        throw AppError(QStringLiteral("Знак «%1» нельзя записать в файл в кодировке Windows-1251. Уберите этот знак.")
                           .arg(bad));
    return encodeCp1251(text);
}

QStringList splitLines(const QString& text)
{
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text[i];
        if (c == u'\r' || c == u'\n') {
            lines.append(text.mid(start, i - start));
            if (c == u'\r' && i + 1 < n && text[i + 1] == u'\n')
                ++i;
            start = i + 1;
        }
    }
    if (start < n)
        lines.append(text.mid(start));
    return lines;
}

QStringList readTextLines(const QString& path)
{
    // the program's text files are tables of a few hundred lines: a pipe or a device
    // under their name is refused, as is a file of more than 64 MB
    const QByteArray bytes = readFileBytes(path, qint64(64) * 1024 * 1024);
    static const QByteArray bom("\xEF\xBB\xBF");
    if (bytes.startsWith(bom)) {
        // a file marked as UTF-8 whose bytes are not: the marked text would come out
        // with replacement characters in place of the names
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString text = utf8.decode(bytes.mid(bom.size()));
        if (utf8.hasError())
            throw AppError(QStringLiteral("Файл \"%1\" помечен как текст UTF-8, но содержит байты, которые не "
                                          "являются UTF-8. Сохраните файл заново в кодировке UTF-8 или "
                                          "Windows-1251.")
                               .arg(path));
        return splitLines(text);
    }
    return splitLines(decodeText(bytes));
}

QByteArray encodeCp1251(const QString& text)
{
    QStringEncoder encoder("windows-1251", QStringEncoder::Flag::Stateless);
    return encoder.encode(text);
}

QString firstOutsideCp1251(const QString& text)
{
    auto roundTrips = [](const QString& t) { return QStringDecoder("windows-1251").decode(encodeCp1251(t)) == t; };
    if (roundTrips(text))
        return {};
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype len = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QString ch = text.mid(i, len);
        if (!roundTrips(ch))
            return ch;
        i += len - 1;
    }
    return {};
}

void writeTextLines(const QString& path, const QStringList& lines)
{
    QString text;
    for (const QString& line : lines) {
        text += line;
        text += QStringLiteral("\r\n");
    }
    // Every character must survive the code page: nothing is dropped without a word,
    // and nothing is written when something would be.
    if (!firstOutsideCp1251(text).isEmpty()) {
        for (qsizetype i = 0; i < lines.size(); ++i) {
            if (const QString ch = firstOutsideCp1251(lines[i]); !ch.isEmpty())
                throw AppError(QStringLiteral("Не удается записать файл \"%1\": в строке %2 стоит знак «%3», которого "
                                              "нет в кодировке Windows-1251. Файл не записан; уберите этот знак.")
                                   .arg(path)
                                   .arg(i + 1)
                                   .arg(ch));
        }
    }
    writeFileBytes(path, encodeCp1251(text));
}

void writeFileBytes(const QString& path, const QByteArray& bytes)
{
    // A device, a pipe or a directory is never replaced by a file.
    const QFileInfo target(path);
    if (target.exists() && !target.isFile())
        throw AppError(QStringLiteral("Не удается записать файл \"%1\": %2")
                           .arg(path, target.isDir()
                                          ? QStringLiteral("это каталог, а не файл. Укажите имя файла.")
                                          : QStringLiteral("это не обычный файл (устройство или канал). Укажите "
                                                           "имя обычного файла.")));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw AppError(QStringLiteral("Не удается записать файл \"%1\": %2").arg(path, writeFailure(path, file)));
    // The last buffered bytes reach the disk only on flush; QSaveFile's commit() does
    // not notice when that fails (a full disk would leave a cut-off file in place of
    // the old one), so flush first and check.
    errno = 0;
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        const int systemError = errno;
        throw AppError(QStringLiteral("Не удается записать файл \"%1\": %2")
                           .arg(path, writeFailure(path, file, systemError)));
    }
    if (!file.commit())
        throw AppError(QStringLiteral("Не удается записать файл \"%1\": %2").arg(path, writeFailure(path, file, errno)));
}

QByteArray readFileBytes(const QString& path, qint64 maxBytes, FileSource source)
{
    // A pipe would block the program until something writes to it, a device never ends.
    const QFileInfo info(path);
    if (source == FileSource::RegularOnly && info.exists() && !info.isDir() && !info.isFile())
        throw AppError(QStringLiteral("Не удается открыть файл \"%1\": это не обычный файл. Укажите обычный файл.")
                           .arg(path));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw AppError(QStringLiteral("Не удается открыть файл \"%1\": %2").arg(path, readFailure(path, file)));
    // read one byte more than allowed: a device or a pipe has no size to ask for
    const QByteArray bytes = file.read(maxBytes + 1);
    if (file.error() != QFileDevice::NoError)
        throw AppError(QStringLiteral("Не удается прочитать файл \"%1\": %2").arg(path, readFailure(path, file)));
    if (bytes.size() > maxBytes)
        throw AppError(QStringLiteral("Файл \"%1\" больше %2 байт: это не файл программы. Укажите другой файл.")
                           .arg(path)
                           .arg(maxBytes));
    return bytes;
}

}  // namespace ogrado
