#include "StartUp/StartUp_Main.h"

int main(int argc, char** argv) { return Run_Main(argc, argv); }
