#include <gtest/gtest.h>

#include "DefinitionFixtures.h"

namespace {

class ProgramData : public ::testing::Test {
protected:
    void SetUp() override { loaded = loadFixture(QStringLiteral("defs")); }
    const SVGApplications& apps() const { return *loaded->apps; }
    std::unique_ptr<LoadedDefinitions> loaded;
};

TEST_F(ProgramData, DataListHoldsEveryKindWithItsSignatureAsWritten) {
    QStringList ids{"stale"}, descrs, sigs;
    apps().GetDataList(ids, descrs, sigs);
    EXPECT_EQ(ids, (QStringList{"Link", "LinkV", "Note", "Later"}));
    // LinkV is hidden (empty description) and takes Link's signature.
    EXPECT_EQ(descrs, (QStringList{"Link to a viewpoint", "", " Spaced note ", "Later kind"}));
    EXPECT_EQ(sigs, (QStringList{"viewpoint|name|file", "viewpoint|name|file", " a |c", "x"}));
}

TEST_F(ProgramData, DataSigTrimsAndLeavesEmptyValuesOut) {
    QString tags = QStringLiteral("stale"), names = QStringLiteral("stale");
    EXPECT_EQ(apps().GetDataSig(QStringLiteral("Note"), tags, names), QStringLiteral("Spaced note"));
    EXPECT_EQ(tags, QStringLiteral("a|c"));
    EXPECT_EQ(names, QStringLiteral("First|Second"));

    EXPECT_EQ(apps().GetDataSig(QStringLiteral("LinkV"), tags, names), QStringLiteral("Link to a viewpoint"));
    EXPECT_EQ(tags, QStringLiteral("viewpoint|name|file"));
    EXPECT_EQ(names, QStringLiteral("Viewpoint|Name|File"));

    EXPECT_EQ(apps().GetDataSig(QStringLiteral("Unknown"), tags, names), QString());
    EXPECT_EQ(tags, QString());
    EXPECT_EQ(names, QString());
}

TEST_F(ProgramData, PlaceKeysFollowTheRowsKind) {
    const struct {
        const char* row;
        bool expected;
    } cases[] = {
        {"Link | v1 | View | $web:charts/v1", true},
        {"  Link  |x", true},
        {"Link", false},            // no "|"
        {"LinkV | v1", false},      // an alias takes no place-keys flag
        {"Note | a", false},
        {"Unknown | a", false},
        {"", false},
    };
    for (const auto& c : cases) EXPECT_EQ(apps().UsesPlaceKeys(QString::fromUtf8(c.row)), c.expected) << c.row;
}

}  // namespace
