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

// A size line of /proc/self/status ("VmHWM:", "VmRSS:"), in MB.
inline double statusMemoryMB(const std::string& field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(field, 0) == 0) return std::stod(line.substr(field.size())) / 1024.0;
    return 0;
}

// The peak resident size since the last reset, in MB.
inline double peakMemoryMB() { return statusMemoryMB("VmHWM:"); }

// The resident size now, in MB.
inline double residentMemoryMB() { return statusMemoryMB("VmRSS:"); }
