// SPDX-License-Identifier: GPL-3.0-or-later
// ogrado: directories from the settings file "vb_prog.ini".
#include "app/gui_startup.h"
#include "app/version_option.h"

int main(int argc, char** argv)
{
    if (ogrado::printVersionIfAsked(argc, argv, "ogrado"))
        return 0;
    return ogrado::runGui(argc, argv, true);
}
