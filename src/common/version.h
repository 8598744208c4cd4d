// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's version: one number, set in CMakeLists.txt, for the three programs'
// --version, the About message and the package.
#include <QString>
#include <QStringList>
#include <QtGlobal>

namespace ogrado {

inline QString programVersion()
{
    return QStringLiteral(OGRADO_VERSION);
}

// The licence lines of the About message: the program's own licence with the notice
// the GNU GPL asks of an interactive program, and the licences of the Qt it runs on
// (Qt Charts is offered to open-source programs under the GPL only), with the
// version of Qt found at run time.
inline QStringList licenceLines()
{
    return {QStringLiteral("Лицензия: GNU GPL версии 3 или более поздней (GPL-3.0-or-later)."),
            QStringLiteral("Программа распространяется БЕЗ КАКИХ-ЛИБО ГАРАНТИЙ. Текст лицензии: "
                           "https://www.gnu.org/licenses/gpl-3.0.html"),
            QStringLiteral("Qt %1: Qt Charts — по лицензии GNU GPL 3.0, остальные модули Qt — по GNU LGPL 3.0.")
                .arg(QLatin1String(qVersion()))};
}

}  // namespace ogrado
