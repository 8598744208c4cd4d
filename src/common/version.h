#pragma once
// The program's version: one number, set in CMakeLists.txt, for the three programs'
// --version, the About message and the package.
#include <QString>

namespace ogrado {

inline QString programVersion()
{
    return QStringLiteral(OGRADO_VERSION);
}

}  // namespace ogrado
