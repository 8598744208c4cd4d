// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// "PROGRAM --version" prints the program's name and version and ends before any
// window opens (no display is needed for it).
#include "common/version.h"

#include <cstdio>
#include <cstring>

namespace ogrado {

inline bool printVersionIfAsked(int argc, char** argv, const char* programName)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("%s %s\n", programName, programVersion().toUtf8().constData());
            return true;
        }
    }
    return false;
}

}  // namespace ogrado
