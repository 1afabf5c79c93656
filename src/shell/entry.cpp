// The program takes no command line: everything it needs travels inside it.
#include "shell/shell.h"

int main(int, char**) { return WinMain(GetModuleHandleA(nullptr), nullptr, nullptr, SW_SHOW); }
