#include "common/text_file.h"

#include "common/app_error.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>

namespace ogrado {

QString decodeText(const QByteArray& bytes)
{
    static const QByteArray bom("\xEF\xBB\xBF");
    if (bytes.startsWith(bom))
        return QString::fromUtf8(bytes.mid(3));
    bool highBytes = false;
    for (char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            highBytes = true;
            break;
        }
    }
    if (highBytes) {
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        QString text = utf8.decode(bytes);
        if (!utf8.hasError())
            return text;
    }
    QStringDecoder cp1251("windows-1251");
    return cp1251.decode(bytes);
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
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw AppError(QStringLiteral("Не удается открыть файл \"%1\": %2.").arg(path, file.errorString()));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw AppError(QStringLiteral("Не удается прочитать файл \"%1\": %2.").arg(path, file.errorString()));
    return splitLines(decodeText(bytes));
}

QByteArray encodeCp1251(const QString& text)
{
    QStringEncoder encoder("windows-1251", QStringEncoder::Flag::Stateless);
    return encoder.encode(text);
}

void writeTextLines(const QString& path, const QStringList& lines)
{
    QString text;
    for (const QString& line : lines) {
        text += line;
        text += QStringLiteral("\r\n");
    }
    // Unbuffered: a write that stops short (a full disk) is seen here, before the new
    // file replaces the old one. A buffered QSaveFile would flush only in commit() and
    // put a cut-off file in place.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        throw AppError(QStringLiteral("Не удается записать файл \"%1\": %2.").arg(path, file.errorString()));
    const QByteArray bytes = encodeCp1251(text);
    for (qint64 done = 0; done < bytes.size();) {
        const qint64 n = file.write(bytes.constData() + done, bytes.size() - done);
        if (n <= 0)
            throw AppError(QStringLiteral("Не удается записать файл \"%1\": %2.").arg(path, file.errorString()));
        done += n;
    }
    if (!file.commit())
        throw AppError(QStringLiteral("Не удается записать файл \"%1\": %2.").arg(path, file.errorString()));
}

}  // namespace ogrado
