#pragma once

#include <fstream>
#include <string>

// The peak resident memory of this process (Linux), for benchmarks that
// report what one step needs: reset the peak, run the step, read it.

// Resets the peak resident size of this process.
inline void resetPeakMemory() {
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5";
}

// The peak resident size since the last reset, in MB.
inline double peakMemoryMB() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0) return std::stod(line.substr(6)) / 1024.0;
    return 0;
}
