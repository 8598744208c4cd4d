// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Start-up of the two window programs: ogrado (directories from "vb_prog.ini") and
// ogrado_n (directories from the current directory).
#include "common/qt_translation.h"

#include <QString>

namespace ogrado {

// What both window programs set up on their running application before any window:
// the program's name, its desktop entry (ogrado) and Qt's Russian texts from
// `translationFolder`. Without the catalogue a note goes to stderr and the program
// goes on with Qt's English texts (false).
bool prepareGuiApplication(bool useIniFile, const QString& translationFolder = qtTranslationFolder());

int runGui(int argc, char** argv, bool useIniFile);

}  // namespace ogrado
