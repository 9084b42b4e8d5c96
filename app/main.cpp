#include <cstdio>

// The main window is not built yet; the program says so and ends.
int main(int, char**) {
    std::puts("Kvora is built, but its main window is not there yet.");
    return 0;
}
