// Pairwell: synchronises two folders both ways.
#include <cstdio>

int main() {
    std::puts("Pairwell: the main window is not built yet.");
    return 0;
}
