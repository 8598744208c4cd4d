// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The first start of ogrado on a machine where the user has no settings file yet: the
// program offers to create one with the user's own folders.
#include <QString>
#include <QStringList>

namespace ogrado {

class Prompter;

// The folders a new settings file names.
struct UserDirectories {
    QString dataDir;     // reference data and the layer-stack library: the user's own copy
    QString isxDir;      // source-data files
    QString resultsDir;  // results files; the save dialog starts here
    QString progDir;     // the folder of the program
    QString tempDir;     // kept in the file, not used
};

// The folders in the user's home: data in the application-data folder, "ogrado/Isx"
// and "ogrado/Результаты" in the documents folder. `programDir` is the executable's.
UserDirectories userDirectories(const QString& programDir);

// The settings file's lines for these folders, in the form the settings reader reads.
QStringList settingsLines(const UserDirectories& dirs);

// Creates the folders, copies into the data folder every file of `installedData` that
// is not there yet (a file the user already has is kept) and writes the settings file
// last, so that a failure half-way leaves no settings file and the next start asks
// again. Throws AppError naming the folder or file, before anything is created when
// the data folder would lack a reference file or a path cannot be written in the
// settings file's code page.
void createUserSettings(const QString& settingsPath, const UserDirectories& dirs, const QString& installedData);

// When `settingsPath` does not exist, asks under the title "ogrado" whether to create
// it with `dirs`; "Да" creates it (errors are thrown as AppError), "Нет" leaves
// everything as it is. An existing settings file is never touched. Returns true when
// a settings file was created.
bool offerSettingsFile(Prompter& prompter, const QString& settingsPath, const UserDirectories& dirs,
                       const QString& installedData);

}  // namespace ogrado
