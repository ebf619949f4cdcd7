#include "StartUp/StartUp_Main.h"

int main(int argc, char** argv) { return StartUp_Main(argc, argv); }
