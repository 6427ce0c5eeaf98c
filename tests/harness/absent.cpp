// A DLL that is built into a folder of its own, so that needs_absent.exe cannot find it.
__declspec(dllexport) int absentFunction() { return 0; }
