// DorvikLumo_ZEK, English edition.
#include "station/window/program.h"

int main(int argc, char** argv) { return zek::ProgramMain(argc, argv, zek::EnglishEdition()); }
