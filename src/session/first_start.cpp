// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/first_start.h"

#include "common/app_error.h"
#include "common/prompter.h"
#include "common/text_file.h"
#include "refdata/ref_reader.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace ogrado {

namespace {

QString shown(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

void makeDirectory(const QString& dir)
{
    if (!QDir().mkpath(dir))
        throw AppError(QStringLiteral("Не удается создать каталог \"%1\". Разрешите запись в каталог, где он должен "
                                      "быть создан.")
                           .arg(shown(dir)));
}

}  // namespace

UserDirectories userDirectories(const QString& programDir)
{
    UserDirectories d;
    d.dataDir = QDir::cleanPath(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
    const QDir documents(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    d.isxDir = QDir::cleanPath(documents.filePath(QStringLiteral("ogrado/Isx")));
    d.resultsDir = QDir::cleanPath(documents.filePath(QStringLiteral("ogrado/Результаты")));
    d.progDir = QDir::cleanPath(programDir);
    d.tempDir = QDir::cleanPath(QDir::tempPath());
    return d;
}

QStringList settingsLines(const UserDirectories& dirs)
{
    return {QStringLiteral("PROG = ") + dirs.progDir, QStringLiteral("ISX = ") + dirs.isxDir,
            QStringLiteral("RESULTS = ") + dirs.resultsDir, QStringLiteral("DATA = ") + dirs.dataDir,
            QStringLiteral("TEMP = ") + dirs.tempDir};
}

void createUserSettings(const QString& settingsPath, const UserDirectories& dirs, const QString& installedData)
{
    // Everything that can be checked is checked before the first folder is made.
    for (const QString& path : {dirs.progDir, dirs.isxDir, dirs.resultsDir, dirs.dataDir, dirs.tempDir}) {
        const QString bad = firstOutsideCp1251(path);
        if (!bad.isEmpty())
            throw AppError(QStringLiteral("Путь \"%1\" содержит символ «%2», который нельзя записать в файл настроек "
                                          "(кодировка Windows-1251). Файл настроек не создан. Создайте его вручную, "
                                          "указав каталоги без этого символа.")
                               .arg(shown(path), bad));
    }
    const QDir data(dirs.dataDir);
    const QDir installed(installedData);
    for (const QString& name : referenceFileNames()) {
        const bool shipped = !installedData.isEmpty() && QFileInfo::exists(installed.filePath(name));
        if (!shipped && !QFileInfo::exists(data.filePath(name)))
            throw AppError(QStringLiteral("Справочные данные программы не найдены: в каталоге \"%1\" нет файла "
                                          "\"%2\". Файл настроек не создан. Установите программу заново.")
                               .arg(shown(installedData), name));
    }

    for (const QString& dir : {dirs.dataDir, dirs.isxDir, dirs.resultsDir})
        makeDirectory(dir);

    // The user's own copy of the shipped data: the layer-stack library is written there.
    if (!installedData.isEmpty()) {
        for (const QFileInfo& file : installed.entryInfoList(QDir::Files | QDir::Readable, QDir::Name)) {
            const QString target = data.filePath(file.fileName());
            if (QFileInfo::exists(target))
                continue;
            QFile source(file.absoluteFilePath());
            if (!source.copy(target))
                throw AppError(QStringLiteral("Не удается скопировать файл \"%1\" в каталог \"%2\": %3. Разрешите "
                                              "запись в этот каталог.")
                                   .arg(shown(file.absoluteFilePath()), shown(dirs.dataDir), source.errorString()));
            QFile::setPermissions(target, QFile::permissions(target) | QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        }
    }

    makeDirectory(QFileInfo(settingsPath).absolutePath());
    writeTextLines(settingsPath, settingsLines(dirs));
}

bool offerSettingsFile(Prompter& prompter, const QString& settingsPath, const UserDirectories& dirs,
                       const QString& installedData)
{
    if (QFileInfo::exists(settingsPath))
        return false;
    const QString cr = QStringLiteral("\r");
    const QString indent = QStringLiteral("      ");
    const QString question =
        QStringLiteral("Файл настроек \"%1\" не найден.").arg(shown(settingsPath)) + cr + cr +
        QStringLiteral("Создать его? Каталоги программы будут в вашей домашней папке:") + cr +
        QStringLiteral("справочные данные и библиотека пирожков (копия данных программы):") + cr + indent +
        shown(dirs.dataDir) + cr + QStringLiteral("исходные данные:") + cr + indent + shown(dirs.isxDir) + cr +
        QStringLiteral("результаты расчетов:") + cr + indent + shown(dirs.resultsDir) + cr + cr +
        QStringLiteral("«Нет» — завершить работу программы.");
    if (prompter.message(question, QStringLiteral("ogrado"), MessageIcon::Question, MessageButtons::YesNo) !=
        MessageAnswer::Yes)
        return false;
    createUserSettings(settingsPath, dirs, installedData);
    return true;
}

}  // namespace ogrado
