#include <gtest/gtest.h>

#include "DefinitionFixtures.h"

namespace {

class Validation : public ::testing::Test {
protected:
    void SetUp() override { loaded = loadFixture(QStringLiteral("defs")); }
    const SVGApplications& apps() const { return *loaded->apps; }
    std::unique_ptr<LoadedDefinitions> loaded;
};

TEST_F(Validation, ClicksClaimedTwiceAreReportedWithBothDescriptions) {
    RecordingReporter reporter;
    const int conflicts = apps().Validate(enabled(apps(), {"Corner", "Panels", "Timeline"}), false, reporter);
    EXPECT_EQ(conflicts, 2);
    EXPECT_EQ(reporter.texts(RecordingReporter::Entry::WarnDiscard),
              (QStringList{"Operation of Click on box is configured for both Timeline box [in Alpha] and Show panel [in beta]",
                           "Operation of Click on TR button is configured for both Three lines [in gamma] and "
                           "Timeline corner [in Alpha]"}));
    EXPECT_TRUE(reporter.texts(RecordingReporter::Entry::Warn).isEmpty());
}

TEST_F(Validation, CancelEndsTheCheckAtTheFirstConflict) {
    RecordingReporter reporter;
    reporter.answers = {true};
    EXPECT_EQ(apps().Validate(enabled(apps(), {"Corner", "Panels", "Timeline"}), false, reporter), 1);
    EXPECT_EQ(reporter.entries.size(), 1);
}

TEST_F(Validation, SvgChartWarnsAboutEntriesNotValidThereAndSkipsThem) {
    RecordingReporter reporter;
    EXPECT_EQ(apps().Validate(enabled(apps(), {"Panels", "Timeline", "Nowhere"}), true, reporter), 0);
    EXPECT_EQ(reporter.warnings(),
              QStringList{"Warning, application or service Timeline is not valid for the current SVGFile setting"});

    RecordingReporter html;
    EXPECT_EQ(apps().Validate(enabled(apps(), {"Paging", "Nowhere"}), false, html), 0);
    EXPECT_TRUE(html.entries.isEmpty());
}

TEST_F(Validation, AppListHoldsApplicationsSortedByNameIgnoringCase) {
    QStringList ids, names, descrs;
    QList<bool> valid;
    apps().GetAppList(ids, names, descrs, valid);
    EXPECT_EQ(names, (QStringList{"", "Alpha", "beta", "Delta", "gamma", "Pages renamed", "Pictures"}));
    EXPECT_EQ(ids, (QStringList{"Quiet", "Timeline", "Panels", "Later", "Corner", "Paging", "Pictures"}));
    EXPECT_EQ(descrs.at(1), QStringLiteral("Events on a time line"));
    EXPECT_EQ(valid, (QList<bool>{true, false, true, false, true, true, true}));
    EXPECT_EQ(ids.size(), apps().TotalApps());
}

TEST_F(Validation, RequiredClicksOfEntriesWithoutOperations) {
    EXPECT_EQ(apps().GetRequiredClicks(QStringLiteral("Quiet")), QStringLiteral("(none)"));
    EXPECT_EQ(apps().GetRequiredClicks(QStringLiteral("Nowhere")), QStringLiteral("(none)"));
}

TEST_F(Validation, AllRequiredClicksListsEveryOperationOfTheEnabledEntries) {
    // No SVG test here: Timeline is listed; a "|" in a name splits its row.
    EXPECT_EQ(apps().GetAllRequiredClicks(enabled(apps(), {"Extra", "Timeline"})),
              (QStringList{"Click on box\t('Timeline box' operation in 'Alpha' application)",
                           "Click on circle\t('Family timeline' operation in 'Alpha' application)",
                           "Click on TR button\t('Timeline corner' operation in 'Alpha' application)",
                           "Ctrl+Click on TL button\t('Zoom", "in' operation in 'Extra service' service)"}));
    EXPECT_TRUE(apps().GetAllRequiredClicks(enabled(apps(), {"Quiet", "Nowhere"})).isEmpty());
}

}  // namespace
