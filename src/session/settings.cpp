// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/settings.h"

#include "common/app_error.h"
#include "common/text_file.h"
#include "refdata/ref_reader.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QStorageInfo>

namespace ogrado {

namespace {

QString withoutTrailingSeparator(QString dir)
{
    while (dir.size() > 1 && (dir.endsWith(u'/') || dir.endsWith(u'\\')) && !dir.endsWith(u":\\"))
        dir.chop(1);
    return dir;
}

}  // namespace

QString settingsFilePath()
{
    QString dir = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return QDir(withoutTrailingSeparator(dir)).filePath(QStringLiteral("vb_prog.ini"));
}

QString volumeOf(const QString& path)
{
    static const QRegularExpression drive(QStringLiteral("^[A-Za-z]:"));
    if (path.isEmpty())
        return {};
    if (drive.match(path).hasMatch())
        return path.left(2);
    QStorageInfo info(path);
    if (info.isValid())
        return info.rootPath();
    return {};
}

QString createMissingFolder(const QString& dir)
{
    if (dir.trimmed().isEmpty() || QFileInfo::exists(dir))
        return {};
    if (!QDir().mkpath(dir) || !QFileInfo(dir).isDir())
        return {};
    return QStringLiteral("Создан каталог «%1».").arg(QDir::toNativeSeparators(QFileInfo(dir).absoluteFilePath()));
}

ProgramSettings parseSettings(const QStringList& lines)
{
    ProgramSettings s;
    s.useIniFile = 1;
    QString results;
    for (const QString& line : lines) {
        const qsizetype eq = line.indexOf(u'=');
        if (eq < 0)
            continue;
        const QString key = line.left(eq).trimmed().toUpper();
        const QString value = withoutTrailingSeparator(line.mid(eq + 1).trimmed());
        if (key == u"PROG")
            s.progDir = value;
        else if (key == u"ISX")
            s.isxDir = value;
        else if (key == u"DATA")
            s.dataDir = value;
        else if (key == u"TEMP")
            s.tempDir = value;
        else if (key == u"RESULTS")
            results = value;
    }
    s.resultsDir = results.isEmpty() ? s.isxDir : results;
    s.isxDrive = volumeOf(s.isxDir);
    return s;
}

ProgramSettings readSettingsFile(const QString& path)
{
    return parseSettings(readTextLines(path));
}

QString installedDataDir(const QString& programDir)
{
    return QDir::cleanPath(programDir + QStringLiteral("/../share/ogrado/data"));
}

namespace {

bool holdsAnyReferenceFile(const QString& dir)
{
    const QDir d(dir);
    for (const QString& name : referenceFileNames())
        if (QFileInfo::exists(d.filePath(name)))
            return true;
    return false;
}

}  // namespace

QString findReferenceData(const QString& currentDir, const QString& installedDir)
{
    if (holdsAnyReferenceFile(currentDir))
        return currentDir;
    if (holdsAnyReferenceFile(installedDir))
        return installedDir;
    throw AppError(QStringLiteral("Справочные данные (файл \"%1\" и другие) не найдены ни в текущем каталоге "
                                  "\"%2\", ни в каталоге установленной программы \"%3\". Запустите программу из "
                                  "каталога с файлами справочных данных или установите ее заново.")
                       .arg(referenceFileNames().first(), QDir::toNativeSeparators(currentDir),
                            QDir::toNativeSeparators(installedDir)));
}

ProgramSettings defaultDirectories(const QString& currentDir)
{
    ProgramSettings s;
    s.useIniFile = 0;
    s.progDir = withoutTrailingSeparator(currentDir);
    const QDir prog(s.progDir);
    s.isxDir = prog.filePath(QStringLiteral("Isx"));
    s.resultsDir = prog.filePath(QStringLiteral("Результаты"));
    s.dataDir = s.progDir;
    s.tempDir = prog.filePath(QStringLiteral("Temp"));
    return s;
}

}  // namespace ogrado
