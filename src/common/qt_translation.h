// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Qt's own Russian texts: the buttons and labels of Qt's standard windows (file dialogs,
// print and print preview, button boxes) and the Qt parts of messages (a file system or
// JSON syntax error) come from the catalogue qtbase_ru.qm that Debian ships in the
// package qt6-translations-l10n. Loaded once at start-up by each program.
#include <QCoreApplication>
#include <QLibraryInfo>
#include <QString>
#include <QTranslator>

namespace ogrado {

// The Debian package that holds Qt's catalogues, named where one is missing.
inline constexpr char kQtTranslationPackage[] = "qt6-translations-l10n";

// The folder Qt's catalogues are installed in.
inline QString qtTranslationFolder()
{
    return QLibraryInfo::path(QLibraryInfo::TranslationsPath);
}

// Installs Qt's Russian catalogue from `folder` into the running application (which
// owns it from then on). A missing or unreadable catalogue installs nothing and gives
// false: Qt's standard windows then keep their English texts, everything else works.
inline bool installQtTranslation(const QString& folder = qtTranslationFolder())
{
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (!translator->load(QStringLiteral("qtbase_ru"), folder)) {
        delete translator;
        return false;
    }
    QCoreApplication::installTranslator(translator);
    return true;
}

}  // namespace ogrado
