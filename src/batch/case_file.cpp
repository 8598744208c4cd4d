// SPDX-License-Identifier: GPL-3.0-or-later
#include "batch/case_file.h"

#include "common/app_error.h"
#include "common/text_file.h"

#include <QDir>
#include <QJsonDocument>

namespace ogrado {

QJsonObject readJsonObject(const QString& path)
{
    // a case file may come from a pipe (`<(…)`); /dev/zero must not fill the memory
    return parseJsonObject(readFileBytes(path, kSourceDataMaxBytes, FileSource::StreamsToo), path);
}

QJsonObject parseJsonObject(const QByteArray& bytes, const QString& path)
{
    QJsonParseError pe;
    const QJsonDocument doc = QJsonDocument::fromJson(bytes, &pe);
    if (pe.error != QJsonParseError::NoError || !doc.isObject())
        throw AppError(QStringLiteral("Файл \"%1\" не является объектом JSON: %2.")
                           .arg(path, pe.error != QJsonParseError::NoError ? pe.errorString()
                                                                           : QStringLiteral("ожидался объект")));
    return doc.object();
}

CaseInput readCaseFile(const QString& path)
{
    const QJsonObject o = readJsonObject(path);
    if (!isSourceDataObject(o))
        return {o, std::nullopt};
    try {
        const SourceDataContents c = parseSourceData(o);
        return {c.main, c.airLayer};
    } catch (const AppError& e) {
        // the words of the window that opens such a file
        throw AppError(QStringLiteral("Файл исходных данных \"%1\" не открыт.\r%2\rИсправьте файл или откройте другой.")
                           .arg(QDir::toNativeSeparators(path), e.message()));
    }
}

}  // namespace ogrado
