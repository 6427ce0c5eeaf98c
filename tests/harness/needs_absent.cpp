// A test program that Wine cannot start: the DLL it imports is not where Wine looks.
__declspec(dllimport) int absentFunction();

int main() { return absentFunction(); }
