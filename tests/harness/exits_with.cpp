// A test program for the wrapper's own test: prints the WINEDEBUG that the programs it starts would
// inherit (the process's environment block, not the C runtime's copy), then exits with the number given.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    char inherited[256] = "";
    const DWORD length = GetEnvironmentVariableA("WINEDEBUG", inherited, sizeof inherited);
    std::printf("WINEDEBUG=%s\n", length < sizeof inherited ? inherited : "(too long)");
    return argc > 1 ? std::atoi(argv[1]) : 0;
}
