#include <gtest/gtest.h>

#include <QHash>

#include "LayoutFixture.h"
#include "SVGLayout.h"

namespace {

struct Start {
    const char* key;
    int col, row;
};

// A part of a real exported tree, cut down to what still shows the fault: the
// marriage I630 + I625 + I6 needs a row of its own (I625 and I6 both have
// parents, one of them with two children), which the family of I625 places
// in row 3. The family of I6 (I1157 + I267, row 2) has its block of children
// in that same row 3, before the marriage and with other blocks between.
// The first adjustment pass pushes row 3 from the left: the block of I6's
// family pushes the marriage on to the block's column, and the blocks between
// would follow one column after it, onto the marriage's cells.
const Start kStarts[] = {
        {"I59", 85, 1},
        {"I3773", 86, 1},
        {"I1899", 104, 1},
        {"I2980", 186, 1},
        {"I2981", 187, 1},
        {"I2451", 105, 1},
        {"I1136", 114, 1},
        {"I2755", 127, 1},
        {"I3771", 108, 1},
        {"I2979", 164, 1},
        {"I3772", 109, 1},
        {"I2918", 137, 1},
        {"I267", 135, 1},
        {"I631", 115, 1},
        {"I1157", 69, 2},
        {"I3775", 93, 1},
        {"I2978", 163, 1},
        {"I3776", 94, 1},
        {"I142", 179, 1},
        {"I2754", 128, 1},
        {"I141", 178, 1},
        {"I958", 145, 1},
        {"I2783", 136, 1},
        {"I2759", 176, 1},
        {"I261", 106, 2},
        {"I959", 146, 1},
        {"I2440", 197, 1},
        {"I174", 88, 2},
        {"I2124", 196, 1},
        {"I503", 27, 3},
        {"I1056", 275, 1},
        {"I490", 100, 2},
        {"I2758", 177, 1},
        {"I175", 89, 2},
        {"I318", 165, 2},
        {"I4291", 9, 2},
        {"I630", 110, 2},
        {"I802", 59, 2},
        {"I504", 169, 2},
        {"I4163", 20, 2},
        {"I1164", 141, 2},
        {"I2894", 101, 2},
        {"I2860", 60, 2},
        {"I4164", 28, 2},
        {"I796", 154, 2},
        {"I127", 274, 1},
        {"I797", 155, 2},
        {"I625", 112, 2},
        {"I319", 166, 2},
        {"I1165", 142, 2},
        {"I1158", 70, 2},
        {"I262", 107, 2},
        {"I856", 280, 2},
        {"I330", 36, 3},
        {"I790", 279, 2},
        {"I139", 369, 2},
        {"I215", 70, 3},
        {"I4481", 31, 3},
        {"I2945", 180, 2},
        {"I6", 111, 2},
        {"I140", 370, 2},
        {"I2037", 33, 3},
        {"I157", 379, 3},
        {"I2956", 34, 3},
        {"I2963", 195, 2},
        {"I929", 35, 3},
        {"I2967", 39, 3},
        {"I260", 168, 3}
};

}  // namespace

TEST(LayoutCrowdedRow, AMarriageInTheRowOfAnotherBlockKeepsCellsOfItsOwn) {
    LayoutTree t(933, 10);
    for (const Start& s : kStarts) t.person(QString::fromLatin1(s.key), QString(), s.col, s.row);
    t.family("F1029", "I59", "I3773", {"I4291"});
    t.family("F866", "I2980", "I2981", {"I1164"});
    t.family("F523", "I1899", "I2451", {"I318", "I1158"});
    t.family("F809", "I1136", "I631", {"I175"});
    t.family("F1028", "I3771", "I3772", {"I504", "I4164"});
    t.family("F865", "I2978", "I2979", {"I2894"});
    t.family("F1030", "I3775", "I3776", {"I4163", "I796"});
    t.family("F622", "I2755", "I2754", {"I2860", "I625"});
    t.family("F422", "I2124", "I2440", {"I797"});
    t.family("F857", "I2918", "I2783", {"I2963"});
    t.family("F122", "I958", "I959", {"I262", "I139"});
    t.family("F13", "I1157", "I267", {"I6"});
    t.family("F117", "I141", "I142", {"I140"});
    t.family("F148", "I174", "I175", {"I2956"});
    t.family("F812", "I2759", "I2758", {"I790", "I2945"});
    t.family("F853", "I490", "I2894", {"I2967"});
    t.family("F76", "I796", "I797", {"I929"});
    t.family("F846", "I802", "I2860", {"I215"});
    t.family("F66", "I127", "I1056", {"I856"});
    t.family("F276", "I503", "I504", {"I330"});
    t.family("F70", "I318", "I319", {"I2037"});
    t.family("F119", "I630", "I625", {});
    t.family("F87", "I261", "I262", {"I260"});
    t.family("F135", "I1164", "I1165", {"I157"});
    t.family("F808", "I1157", "I2783", {});
    t.family("F520", "I1157", "I1158", {});
    t.family("F417", "I790", "I856", {});
    t.family("F121", "I139", "I140", {});
    t.family("F240", "I330", "I929", {});
    t.family("F12", "I630", "I6", {});
    SVGLayout layout;
    ASSERT_TRUE(layout.Organise(t.tree));
    QHash<QPair<int, int>, QString> cells;
    for (const auto& [key, p] : t.tree.GetPersons()) {
        const auto cell = t.cell(key);
        EXPECT_FALSE(cells.contains(cell)) << key.toStdString() << " and " << cells.value(cell).toStdString()
                                           << " in " << cell.first << "," << cell.second;
        cells.insert(cell, key);
    }
}
