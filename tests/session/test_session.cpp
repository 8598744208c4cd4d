// SPDX-License-Identifier: GPL-3.0-or-later
// The settings reader, and the settings of an installed program: the first start of
// ogrado against a temporary home, and where ogrado_calc finds the installed data.
#include "session/first_start.h"
#include "session/settings.h"
#include "common/app_error.h"
#include "common/text_file.h"
#include "library/layer_stack_library.h"
#include "refdata/ref_reader.h"
#include "test_support.h"
#include "test_tables.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using namespace ogrado;

namespace {

QByteArray bytesOf(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// Every file of the shipped data folder, copied into `dir`.
void copyShippedData(const QString& dir)
{
    QVERIFY(QDir().mkpath(dir));
    const QDir shipped(QStringLiteral(OGRADO_SHIPPED_DATA));
    for (const QString& name : shipped.entryList(QDir::Files))
        QVERIFY(QFile::copy(shipped.filePath(name), QDir(dir).filePath(name)));
}

}  // namespace

class TestSession : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> tmp_;
    QString home_;
    QString prefix_;  // an installed program: prefix/bin and prefix/share/ogrado/data

    QString programDir() const { return prefix_ + QStringLiteral("/bin"); }
    QString installedData() const { return prefix_ + QStringLiteral("/share/ogrado/data"); }

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        QCoreApplication::setApplicationName(QStringLiteral("ogrado"));
    }

    // Each case starts with an empty home of its own and a freshly installed program.
    void init()
    {
        tmp_ = std::make_unique<QTemporaryDir>();
        QVERIFY(tmp_->isValid());
        home_ = tmp_->filePath(QStringLiteral("home"));
        prefix_ = tmp_->filePath(QStringLiteral("usr"));
        QVERIFY(QDir().mkpath(home_));
        QVERIFY(QDir().mkpath(programDir()));
        qputenv("HOME", home_.toLocal8Bit());
        copyShippedData(installedData());
        QVERIFY(settingsFilePath().startsWith(home_ + u'/'));
    }

    void answerNoCreatesNothingAndStartUpNamesTheMissingFile()
    {
        test::RecordingPrompter prompter;
        prompter.answers = {MessageAnswer::No};
        const QString settings = settingsFilePath();
        const UserDirectories dirs = userDirectories(programDir());

        QVERIFY(!offerSettingsFile(prompter, settings, dirs, installedDataDir(programDir())));

        QCOMPARE(prompter.shown.size(), 1);
        QCOMPARE(prompter.shown[0].title, QStringLiteral("ogrado"));
        QCOMPARE(prompter.shown[0].icon, MessageIcon::Question);
        QVERIFY(prompter.shown[0].text.contains(settings));
        QVERIFY(prompter.shown[0].text.contains(home_ + QStringLiteral("/Documents/ogrado/Результаты")));
        QVERIFY(!QFileInfo::exists(settings));
        QVERIFY(!QFileInfo::exists(home_ + QStringLiteral("/Documents")));
        QVERIFY(!QFileInfo::exists(dirs.dataDir));
        EXPECT_APP_ERROR(readSettingsFile(settings), "a missing settings file was read", [&](const AppError& e) {
            QVERIFY(e.message().contains(settings));
        });
    }

    void answerYesWritesSettingsFoldersAndTheUsersOwnData()
    {
        test::RecordingPrompter prompter;
        prompter.answers = {MessageAnswer::Yes};
        const QString settings = settingsFilePath();

        QVERIFY(offerSettingsFile(prompter, settings, userDirectories(programDir()), installedDataDir(programDir())));

        // The file, byte for byte: KEY = value lines in Windows-1251 with CR LF.
        const QString data = home_ + QStringLiteral("/.qttest/share/ogrado");
        const QString isx = home_ + QStringLiteral("/Documents/ogrado/Isx");
        const QString results = home_ + QStringLiteral("/Documents/ogrado/Результаты");
        const QString expected = QStringLiteral("PROG = ") + programDir() + QStringLiteral("\r\nISX = ") + isx +
                                 QStringLiteral("\r\nRESULTS = ") + results + QStringLiteral("\r\nDATA = ") + data +
                                 QStringLiteral("\r\nTEMP = ") + QDir::tempPath() + QStringLiteral("\r\n");
        QCOMPARE(bytesOf(settings), encodeCp1251(expected));
        QVERIFY(bytesOf(settings).contains(QByteArray("\xD0\xE5\xE7\xF3\xEB\xFC\xF2\xE0\xF2\xFB")));  // Результаты

        // Read back as the program reads it at start-up.
        const ProgramSettings s = readSettingsFile(settings);
        QCOMPARE(s.dataDir, data);
        QCOMPARE(s.isxDir, isx);
        QCOMPARE(s.resultsDir, results);
        QVERIFY(QFileInfo(isx).isDir());
        QVERIFY(QFileInfo(results).isDir());

        // The user's copy of the installed data: all of it, readable as reference data,
        // and the library writable.
        const QStringList installed = QDir(installedData()).entryList(QDir::Files);
        QCOMPARE(QDir(data).entryList(QDir::Files), installed);
        QVERIFY(installed.contains(QStringLiteral("README.md")));
        QCOMPARE(loadReferenceData(s.dataDir).materials.count(), shippedMaterialCount());
        QVERIFY(QFileInfo(libraryFilePath(s.dataDir)).isWritable());
        QCOMPARE(bytesOf(libraryFilePath(s.dataDir)), bytesOf(libraryFilePath(installedData())));

        // The next start finds the file: no question, nothing rewritten.
        const QByteArray before = bytesOf(settings);
        prompter.clear();
        QVERIFY(!offerSettingsFile(prompter, settings, userDirectories(programDir()), installedDataDir(programDir())));
        QVERIFY(prompter.shown.isEmpty());
        QCOMPARE(bytesOf(settings), before);
    }

    void existingSettingsAndUserFilesAreNeverTouched()
    {
        // A settings file of the user's own: no question, the file stays as it is.
        const QString settings = settingsFilePath();
        QVERIFY(QDir().mkpath(QFileInfo(settings).absolutePath()));
        writeBytes(settings, "DATA = /srv/ogrado\r\n");
        test::RecordingPrompter prompter;
        prompter.answers = {MessageAnswer::Yes};
        QVERIFY(!offerSettingsFile(prompter, settings, userDirectories(programDir()), installedData()));
        QVERIFY(prompter.shown.isEmpty());
        QCOMPARE(bytesOf(settings), QByteArray("DATA = /srv/ogrado\r\n"));

        // Settings deleted but the data folder kept: the user's library survives, the
        // files the user lacks are copied.
        QVERIFY(QFile::remove(settings));
        const UserDirectories dirs = userDirectories(programDir());
        QVERIFY(QDir().mkpath(dirs.dataDir));
        const QString library = libraryFilePath(dirs.dataDir);
        writeBytes(library, "мой пирожок\r\n");
        QVERIFY(offerSettingsFile(prompter, settings, dirs, installedData()));
        QCOMPARE(bytesOf(library), QByteArray("мой пирожок\r\n"));
        for (const QString& name : referenceFileNames())
            QVERIFY2(QFileInfo::exists(QDir(dirs.dataDir).filePath(name)), qPrintable(name));
    }

    void failuresLeaveNoSettingsFile()
    {
        const QString settings = settingsFilePath();
        const UserDirectories dirs = userDirectories(programDir());

        // No installed data and none of the user's: nothing is created.
        QTemporaryDir empty;
        EXPECT_APP_ERROR(createUserSettings(settings, dirs, empty.path()), "settings created without reference data",
                         [&](const AppError& e) {
            QVERIFY(e.message().contains(empty.path()));
            QVERIFY(e.message().contains(QStringLiteral("СтенарийТКП.txt")));
        });
        QVERIFY(!QFileInfo::exists(settings));
        QVERIFY(!QFileInfo::exists(dirs.dataDir));
        QVERIFY(!QFileInfo::exists(dirs.isxDir));

        // A folder name the settings file's code page cannot hold.
        UserDirectories odd = dirs;
        odd.isxDir = home_ + QStringLiteral("/文件/Isx");
        EXPECT_APP_ERROR(createUserSettings(settings, odd, installedData()), "a path outside Windows-1251 was written",
                         [&](const AppError& e) {
            QVERIFY(e.message().contains(QStringLiteral("«文»")));
        });
        QVERIFY(!QFileInfo::exists(settings));
        QVERIFY(!QFileInfo::exists(dirs.dataDir));

        // A results folder that cannot be made (a file stands in its way).
        UserDirectories blocked = dirs;
        writeBytes(home_ + QStringLiteral("/file"), "x");
        blocked.resultsDir = home_ + QStringLiteral("/file/Результаты");
        EXPECT_APP_ERROR(createUserSettings(settings, blocked, installedData()), "a results folder under a file",
                         [&](const AppError& e) {
            QVERIFY(e.message().contains(blocked.resultsDir));
        });
        QVERIFY(!QFileInfo::exists(settings));
    }

    void resultsKeyGivesTheResultsFolder()
    {
        const ProgramSettings s = parseSettings({QStringLiteral("ISX = /d/Isx"), QStringLiteral("results = /d/Рез ")});
        QCOMPARE(s.isxDir, QStringLiteral("/d/Isx"));
        QCOMPARE(s.resultsDir, QStringLiteral("/d/Рез"));
        // Without it the save dialog starts in the source-data folder, as before.
        QCOMPARE(parseSettings({QStringLiteral("ISX = /d/Isx")}).resultsDir, QStringLiteral("/d/Isx"));
    }

    void calcFindsTheCurrentOrTheInstalledData()
    {
        QCOMPARE(installedDataDir(QStringLiteral("/opt/o/bin")), QStringLiteral("/opt/o/share/ogrado/data"));
        QCOMPARE(installedDataDir(QStringLiteral("/opt/o/bin/")), QStringLiteral("/opt/o/share/ogrado/data"));

        QTemporaryDir current;
        // Nothing here: the installed data.
        QCOMPARE(findReferenceData(current.path(), installedData()), installedData());
        // One reference file here: this folder is meant (the loader then names what is
        // missing), the installed data is not mixed in.
        writeBytes(QDir(current.path()).filePath(QStringLiteral("СтенарийТКП.txt")), "x");
        QCOMPARE(findReferenceData(current.path(), installedData()), current.path());

        QTemporaryDir bare;
        QTemporaryDir noData;
        EXPECT_APP_ERROR(findReferenceData(bare.path(), noData.path()), "no data found but no error",
                         [&](const AppError& e) {
            QVERIFY(e.message().contains(bare.path()));
            QVERIFY(e.message().contains(noData.path()));
        });
    }

    // The settings reader: keys, repeated lines, a missing file, directories by default.
    void settingsKeysIgnoreCaseAndBlanks()
    {
        const ProgramSettings s = parseSettings({QStringLiteral("DATA = C:\\PROG"), QStringLiteral("data=  D:\\X  "),
                                                 QStringLiteral("  Prog =/opt/ogrado/ "), QStringLiteral("TEMP=t")});
        QCOMPARE(s.dataDir, QStringLiteral("D:\\X"));  // the later line wins
        QCOMPARE(s.progDir, QStringLiteral("/opt/ogrado"));
        QCOMPARE(s.tempDir, QStringLiteral("t"));
        QCOMPARE(s.useIniFile, 1);
        // no character after "=" is dropped
        QCOMPARE(parseSettings({QStringLiteral("DATA=C:\\PROG")}).dataDir, QStringLiteral("C:\\PROG"));
    }

    void settingsRepeatedIsxMissingKeysAndLinesWithoutEquals()
    {
        const ProgramSettings s = parseSettings({QStringLiteral("ISX = C:\\A"), QString(), QStringLiteral("just text"),
                                                 QStringLiteral("OTHER = 1"), QStringLiteral("isx = D:\\B")});
        QCOMPARE(s.isxDir, QStringLiteral("D:\\B"));
        QCOMPARE(s.resultsDir, QStringLiteral("D:\\B"));
        QCOMPARE(s.isxDrive, QStringLiteral("D:"));
        QVERIFY(s.progDir.isEmpty() && s.tempDir.isEmpty() && s.dataDir.isEmpty());
    }

    void settingsFileMissingNamesTheFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("vb_prog.ini");
        EXPECT_APP_ERROR(readSettingsFile(path), "no error", [&](const AppError& e) {
            QVERIFY(e.message().contains(path));
        });
    }

    void defaultDirectoriesFollowTheCurrentDirectory()
    {
        const ProgramSettings s = defaultDirectories(QStringLiteral("/home/u/ogrado"));
        QCOMPARE(s.useIniFile, 0);
        QCOMPARE(s.dataDir, QStringLiteral("/home/u/ogrado"));
        QCOMPARE(s.isxDir, QStringLiteral("/home/u/ogrado/Isx"));
        QCOMPARE(s.resultsDir, QStringLiteral("/home/u/ogrado/Результаты"));
        QCOMPARE(s.tempDir, QStringLiteral("/home/u/ogrado/Temp"));
        QVERIFY(s.isxDrive.isEmpty());
    }

private:
    static int shippedMaterialCount() { return test::shippedTables().materials.count(); }
};

QTEST_GUILESS_MAIN(TestSession)
#include "test_session.moc"
