// Writes a generated GEDCOM 5.5.1 file for benchmarks and manual trials:
//   gen_gedcom <file> <individuals> [seed]
#include <cstdio>
#include <cstdlib>

#include "GedcomGenerator.h"

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s <file> <individuals> [seed]\n", argv[0]);
        return 2;
    }
    const auto seed = argc > 3 ? static_cast<std::uint32_t>(std::strtoul(argv[3], nullptr, 10)) : 1u;
    const GedcomGeneratorResult r = writeGeneratedGedcom(argv[1], std::strtoll(argv[2], nullptr, 10), seed);
    if (r.individuals == 0) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    std::printf("%lld individuals, %lld families, %lld lines, %lld bytes\n", static_cast<long long>(r.individuals),
                static_cast<long long>(r.families), static_cast<long long>(r.lines), static_cast<long long>(r.bytes));
    return 0;
}
