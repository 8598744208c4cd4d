// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where the program finds its directories: the settings file "vb_prog.ini" (ogrado)
// or the current directory (ogrado_n).
#include <QString>
#include <QStringList>

namespace ogrado {

// Number of layer rows of the main window; every loop over the grid rows uses it.
constexpr int LayerGridRows = 8;

struct ProgramSettings {
    int useIniFile = 0;   // 1 in ogrado, 0 in ogrado_n
    QString progDir;      // PROG
    QString isxDir;       // ISX: source-data directory
    QString dataDir;      // DATA: reference data and the layer-stack library
    QString tempDir;      // TEMP: kept, not used
    QString resultsDir;   // where the save dialog starts: RESULTS, or ISX without it
    QString isxDrive;     // the volume of isxDir; empty in ogrado_n
};

// The settings file of ogrado: "vb_prog.ini" in the user's configuration directory,
// which stands in for the Windows directory.
QString settingsFilePath();

// Reads KEY = value lines: the key is the text left of the first "=" (case and blanks
// do not matter), the value the text after it, trimmed. Lines without "=" are skipped;
// a repeated key overwrites the earlier value; unknown keys are ignored. The results
// directory is the RESULTS key when the file has one, the ISX directory otherwise.
ProgramSettings parseSettings(const QStringList& lines);

// ogrado: the settings file read, and the results directory taken from ISX.
// Throws AppError naming the file when it cannot be read.
ProgramSettings readSettingsFile(const QString& path);

// ogrado_n: every directory derived from the current directory.
ProgramSettings defaultDirectories(const QString& currentDir);

// The reference data shipped with an installed program, <prefix>/share/ogrado/data,
// found from the folder of the executable (<prefix>/bin), so that a prefix moved
// elsewhere still finds its data.
QString installedDataDir(const QString& programDir);

// Where ogrado_calc takes the reference data when no folder is given: the current
// directory when it holds any of the reference files (a missing one is then reported
// by the loader), otherwise the installed data when it holds any. Throws AppError
// naming both places when neither does.
QString findReferenceData(const QString& currentDir, const QString& installedDir);

// The volume a path lies on, shown by its root path ("D:" for a Windows drive path).
QString volumeOf(const QString& path);

// One of the program's own folders (the source-data or the results directory) that a
// save is about to write into: created, with the folders above it, when it is missing
// (a fresh working folder of ogrado_n has neither). Returns what the status line says
// then, "Создан каталог «…».", or an empty text when the folder existed, is not set, or
// could not be created (the save then reports the failure as it would without this).
QString createMissingFolder(const QString& dir);

}  // namespace ogrado
