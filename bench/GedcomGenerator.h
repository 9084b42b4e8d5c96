#pragma once

#include <cstdint>
#include <string>

// Writes a valid GEDCOM 5.5.1 file (UTF-8, LF) of about `individuals`
// persons in families over many generations: names with pieces, sex, birth,
// christening, death and burial events with dates of every qualifier and
// places, occupations, marriages, notes continued over CONC and CONT lines,
// and source citations to shared SOUR records. The same seed gives the same
// file. Returns the number of individuals written (0 when the file cannot
// be written).
struct GedcomGeneratorResult {
    std::int64_t individuals = 0;
    std::int64_t families = 0;
    std::int64_t lines = 0;
    std::int64_t bytes = 0;
};

GedcomGeneratorResult writeGeneratedGedcom(const std::string& path, std::int64_t individuals, std::uint32_t seed = 1);
