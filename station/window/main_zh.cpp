// DorvikLumo_ZEK_zh, Simplified Chinese edition.
#include "station/window/program.h"

int main(int argc, char** argv) { return zek::ProgramMain(argc, argv, zek::ChineseEdition()); }
