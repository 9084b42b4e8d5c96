#include "FileSizeSignal.h"

#include <csignal>

namespace {

// The write that went past the limit fails on its own; nothing is left to do.
void onFileSizeSignal(int) {}

}  // namespace

void catchFileSizeSignal() {
    struct sigaction action {};
    action.sa_handler = onFileSizeSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGXFSZ, &action, nullptr);
}
