// ogrado_n: directories from the current directory.
#include "app/gui_startup.h"

int main(int argc, char** argv)
{
    return ogrado::runGui(argc, argv, false);
}
