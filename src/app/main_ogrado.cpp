// ogrado: directories from the settings file "vb_prog.ini".
#include "app/gui_startup.h"

int main(int argc, char** argv)
{
    return ogrado::runGui(argc, argv, true);
}
