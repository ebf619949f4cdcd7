#include "Base/Console.h"

int main(int argc, char** argv) {
  Console_Printf("runner: no game loaded\n");
  return 1;
}
