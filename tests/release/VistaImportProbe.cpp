// A program that imports GetTickCount64, which Windows has only from Vista on. The
// import check must reject it: this is how a newer function slipping into the shipped
// programs shows up.
#include <windows.h>

int main() { return static_cast<int>(GetTickCount64() & 1); }
