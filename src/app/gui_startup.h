#pragma once
// Start-up of the two window programs: ogrado (directories from "vb_prog.ini") and
// ogrado_n (directories from the current directory).
namespace ogrado {

int runGui(int argc, char** argv, bool useIniFile);

}  // namespace ogrado
