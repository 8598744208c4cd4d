// SPDX-License-Identifier: GPL-3.0-or-later
// ogrado_n: directories from the current directory.
#include "app/gui_startup.h"
#include "app/version_option.h"

int main(int argc, char** argv)
{
    if (ogrado::printVersionIfAsked(argc, argv, "ogrado_n"))
        return 0;
    return ogrado::runGui(argc, argv, false);
}
