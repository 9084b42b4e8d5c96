#include "GedcomGenerator.h"

#include <algorithm>
#include <cstdio>
#include <random>
#include <vector>

namespace {

const char* const kMaleNames[] = {"John", "William", "James", "George", "Thomas", "Henry", "Charles", "Robert",
                                  "Edward", "Joseph", "Samuel", "Peter", "David", "Richard", "Johann", "Pierre"};
const char* const kFemaleNames[] = {"Mary", "Elizabeth", "Sarah", "Anna", "Margaret", "Jane", "Catherine", "Emma",
                                    "Alice", "Ruth", "Martha", "Ellen", "Zoë", "Maria", "Agnes", "Louise"};
const char* const kSurnames[] = {"Smith", "Brown", "Taylor", "Wilson", "Walker", "Green", "Baker", "Müller",
                                 "Hughes", "Wood", "Turner", "Hill", "Moore", "Clark", "de Vries", "Lefèvre"};
const char* const kPlaces[] = {"London, England", "York, Yorkshire, England", "Bergen, Norway", "Lyon, France",
                               "Cork, Ireland", "Leiden, Netherlands", "Boston, Massachusetts, USA", "Köln, Germany"};
const char* const kMonths[] = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN", "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};
const char* const kOccupations[] = {"Farmer", "Weaver", "Carpenter", "Teacher", "Miller", "Sailor", "Clerk", "Smith"};
constexpr int kSources = 200;
constexpr int kGenerationYears = 27;
// The most children one generation has. Those who marry in from outside add
// about a quarter again, so each row of the laid-out tree stays below a tree
// file's 32767 columns: a larger file grows deeper instead of wider.
constexpr std::size_t kWidestGeneration = 24000;
// Large files span many generations: their founders are born early enough
// for the last generations to be born in the twentieth or twenty-first
// century, yet late enough for every date to be a valid one.
constexpr std::int64_t kDeepTree = 200000;

struct Person {
    std::int32_t famc = -1;
    std::int32_t birthYear = 0;
    std::int32_t name = 0;
    std::int32_t surname = 0;
    bool male = false;
    std::vector<std::int32_t> fams;
};

struct Family {
    std::int32_t husband = -1;
    std::int32_t wife = -1;
    std::int32_t year = 0;
    std::vector<std::int32_t> children;
};

class Writer {
public:
    explicit Writer(std::FILE* f) : file(f) { buffer.reserve(1 << 20); }
    ~Writer() { flush(); }
    void line(const std::string& text) {
        buffer += text;
        buffer += '\n';
        ++lines;
        if (buffer.size() > (1 << 20) - 4096) flush();
    }
    void flush() {
        bytes += static_cast<std::int64_t>(std::fwrite(buffer.data(), 1, buffer.size(), file));
        buffer.clear();
    }
    std::int64_t lines = 0;
    std::int64_t bytes = 0;

private:
    std::FILE* file;
    std::string buffer;
};

class Generator {
public:
    Generator(std::int64_t target, std::uint32_t seed) : target(target), rng(seed) {}

    void build() {
        // Founding couples, then generation after generation of their
        // descendants, who marry each other or newcomers without parents.
        const std::int64_t founders = std::max<std::int64_t>(1, target / 2000);
        const int firstYear = target > kDeepTree ? 1010 : 1200;
        std::vector<std::int32_t> generation;
        for (std::int64_t i = 0; i < founders * 2; ++i) generation.push_back(newPerson(-1, firstYear + pick(20), i % 2 == 0));
        while (static_cast<std::int64_t>(people.size()) < target) {
            std::shuffle(generation.begin(), generation.end(), rng);
            std::vector<std::int32_t> next;
            std::vector<std::int32_t> single;
            // Once the next generation is full, the rest of this one stay
            // unmarried.
            for (std::int32_t p : generation) {
                if (static_cast<std::int64_t>(people.size()) >= target || next.size() >= kWidestGeneration) break;
                if (!people[p].fams.empty() || pick(100) >= 80) continue;
                // A spouse from the same generation when one of the other sex is waiting.
                std::int32_t spouse = -1;
                for (std::size_t i = 0; i < single.size() && i < 4; ++i)
                    if (people[single[i]].male != people[p].male && people[single[i]].fams.empty()) {
                        spouse = single[i];
                        single.erase(single.begin() + static_cast<std::ptrdiff_t>(i));
                        break;
                    }
                if (spouse < 0 && pick(3) == 0) {
                    single.push_back(p);
                    continue;
                }
                if (spouse < 0) spouse = newPerson(-1, people[p].birthYear + pick(7) - 3, !people[p].male);
                const std::int32_t husband = people[p].male ? p : spouse;
                const std::int32_t wife = people[p].male ? spouse : p;
                const std::int32_t fam = newFamily(husband, wife, std::max(people[husband].birthYear, people[wife].birthYear) + 20 + pick(8));
                const int children = 1 + pick(3) + (pick(4) == 0 ? 2 : 0);
                for (int c = 0; c < children && static_cast<std::int64_t>(people.size()) < target; ++c) {
                    const std::int32_t child = newPerson(fam, families[fam].year + 1 + c * 2 + pick(2), pick(2) == 0);
                    people[child].surname = people[husband].surname;
                    families[fam].children.push_back(child);
                    next.push_back(child);
                }
            }
            if (next.empty()) {
                // Nobody married: start a new founding couple so the file still grows.
                next.push_back(newPerson(-1, firstYear + pick(20), true));
                next.push_back(newPerson(-1, firstYear + pick(20), false));
            }
            generation.swap(next);
        }
    }

    void write(Writer& w) {
        w.line("0 HEAD");
        w.line("1 SOUR KvoraBenchGenerator");
        w.line("2 VERS 1.0");
        w.line("1 DATE 10 DEC 2026");
        w.line("1 SUBM @U1@");
        w.line("1 GEDC");
        w.line("2 VERS 5.5.1");
        w.line("2 FORM LINEAGE-LINKED");
        w.line("1 CHAR UTF-8");
        w.line("0 @U1@ SUBM");
        w.line("1 NAME Bench Generator");
        for (int s = 1; s <= kSources; ++s) {
            w.line("0 @S" + std::to_string(s) + "@ SOUR");
            w.line("1 TITL Parish register volume " + std::to_string(s));
            w.line("1 AUTH Parish clerk");
            w.line("1 PUBL Copied in 1950");
        }
        for (std::size_t i = 0; i < people.size(); ++i) writePerson(w, static_cast<std::int32_t>(i));
        for (std::size_t i = 0; i < families.size(); ++i) writeFamily(w, static_cast<std::int32_t>(i));
        w.line("0 TRLR");
    }

    std::vector<Person> people;
    std::vector<Family> families;

private:
    int pick(int n) { return static_cast<int>(rng() % static_cast<std::uint32_t>(n)); }

    std::int32_t newPerson(std::int32_t famc, int birthYear, bool male) {
        Person p;
        p.famc = famc;
        p.birthYear = birthYear;
        p.male = male;
        p.name = pick(16);
        p.surname = pick(16);
        people.push_back(std::move(p));
        return static_cast<std::int32_t>(people.size() - 1);
    }

    std::int32_t newFamily(std::int32_t husband, std::int32_t wife, int year) {
        Family f;
        f.husband = husband;
        f.wife = wife;
        f.year = year;
        families.push_back(f);
        const auto id = static_cast<std::int32_t>(families.size() - 1);
        people[husband].fams.push_back(id);
        people[wife].fams.push_back(id);
        return id;
    }

    std::string date(int year) {
        const std::string y = std::to_string(year);
        switch (pick(10)) {
        case 0: return "ABT " + y;
        case 1: return "BEF " + y;
        case 2: return "AFT " + y;
        case 3: return "BET " + y + " AND " + std::to_string(year + 2);
        case 4: return std::string(kMonths[pick(12)]) + " " + y;
        case 5: return "EST " + y;
        default: return std::to_string(1 + pick(28)) + " " + kMonths[pick(12)] + " " + y;
        }
    }

    void event(Writer& w, const char* tag, int year) {
        w.line(std::string("1 ") + tag);
        w.line("2 DATE " + date(year));
        w.line(std::string("2 PLAC ") + kPlaces[pick(8)]);
        if (pick(3) == 0) {
            w.line("2 SOUR @S" + std::to_string(1 + pick(kSources)) + "@");
            w.line("3 PAGE Folio " + std::to_string(1 + pick(400)));
        }
    }

    void writePerson(Writer& w, std::int32_t i) {
        const Person& p = people[static_cast<std::size_t>(i)];
        const std::string given = p.male ? kMaleNames[p.name] : kFemaleNames[p.name];
        const std::string surname = kSurnames[p.surname];
        w.line("0 @I" + std::to_string(i + 1) + "@ INDI");
        w.line("1 NAME " + given + " /" + surname + "/");
        w.line("2 GIVN " + given);
        w.line("2 SURN " + surname);
        w.line(std::string("1 SEX ") + (p.male ? "M" : "F"));
        event(w, "BIRT", p.birthYear);
        if (pick(4) == 0) event(w, "CHR", p.birthYear);
        if (pick(5) == 0) w.line(std::string("1 OCCU ") + kOccupations[pick(8)]);
        if (p.birthYear < 1940 || pick(2) == 0) {
            const int death = p.birthYear + 30 + pick(60);
            event(w, "DEAT", death);
            if (pick(2) == 0) event(w, "BURI", death);
        }
        if (p.famc >= 0) w.line("1 FAMC @F" + std::to_string(p.famc + 1) + "@");
        for (std::int32_t f : p.fams) w.line("1 FAMS @F" + std::to_string(f + 1) + "@");
        if (pick(5) == 0) {
            w.line("1 NOTE " + given + " " + surname + " was remembered in the village for a long");
            w.line("2 CONC  time; the parish register gives these further details about the family.");
            w.line("2 CONT Second line of the note, written after a line break.");
        }
    }

    void writeFamily(Writer& w, std::int32_t i) {
        const Family& f = families[static_cast<std::size_t>(i)];
        w.line("0 @F" + std::to_string(i + 1) + "@ FAM");
        w.line("1 HUSB @I" + std::to_string(f.husband + 1) + "@");
        w.line("1 WIFE @I" + std::to_string(f.wife + 1) + "@");
        for (std::int32_t c : f.children) w.line("1 CHIL @I" + std::to_string(c + 1) + "@");
        event(w, "MARR", f.year);
    }

    std::int64_t target;
    std::mt19937 rng;
};

}  // namespace

GedcomGeneratorResult writeGeneratedGedcom(const std::string& path, std::int64_t individuals, std::uint32_t seed) {
    GedcomGeneratorResult result;
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return result;
    Generator g(individuals, seed);
    g.build();
    {
        Writer w(f);
        g.write(w);
        w.flush();
        result.lines = w.lines;
        result.bytes = w.bytes;
    }
    std::fclose(f);
    result.individuals = static_cast<std::int64_t>(g.people.size());
    result.families = static_cast<std::int64_t>(g.families.size());
    return result;
}
