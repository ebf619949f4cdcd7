#include "Run/Run_StartUp.h"

int main(int argc, char** argv) { return Run_Main(argc, argv); }
