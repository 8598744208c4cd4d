#include "session/settings.h"

#include "common/text_file.h"

#include <QDir>
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

ProgramSettings parseSettings(const QStringList& lines)
{
    ProgramSettings s;
    s.useIniFile = 1;
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
    }
    s.resultsDir = s.isxDir;
    s.isxDrive = volumeOf(s.isxDir);
    return s;
}

ProgramSettings readSettingsFile(const QString& path)
{
    return parseSettings(readTextLines(path));
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
