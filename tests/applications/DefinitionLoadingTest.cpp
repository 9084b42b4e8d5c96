#include <gtest/gtest.h>

#include "DefinitionFixtures.h"

namespace {

TEST(DefinitionLoading, LoadsEveryMatchingFileInNameOrderAndCountsEntries) {
    auto loaded = loadFixture(QStringLiteral("defs"));
    EXPECT_EQ(loaded->reporter.warnings(), QStringList());
    EXPECT_EQ(loaded->reporter.logLines(),
              (QStringList{"Loading ApplicationsServices.xml", "6 applications, 3 services, and 0 modifiers were loaded",
                           "Loading ApplicationsServices_mods.xml",
                           "1 applications, 0 services, and 4 modifiers were loaded",
                           "Loading ApplicationsServices_srv.xml",
                           "0 applications, 2 services, and 0 modifiers were loaded"}));
    EXPECT_EQ(loaded->apps->fileCount(), 3);
    EXPECT_EQ(loaded->apps->TotalApps(), 7);
    EXPECT_EQ(loaded->apps->TotalSrvs(), 5);
    EXPECT_EQ(loaded->apps->TotalData(), 4);
}

TEST(DefinitionLoading, FolderWithoutDefinitionsLogsNothingAndFindsNothing) {
    auto loaded = loadFixture(QStringLiteral("no-such-folder"));
    EXPECT_TRUE(loaded->reporter.entries.isEmpty());
    EXPECT_EQ(loaded->apps->TotalApps(), 0);
    EXPECT_EQ(loaded->apps->TotalSrvs(), 0);
    EXPECT_EQ(loaded->apps->TotalData(), 0);
    EXPECT_EQ(loaded->apps->GetAppName(QStringLiteral("InfoPanels")), QString());
    QStringList ids, descrs, sigs;
    loaded->apps->GetDataList(ids, descrs, sigs);
    EXPECT_TRUE(ids.isEmpty() && descrs.isEmpty() && sigs.isEmpty());
}

TEST(DefinitionLoading, ModifyOverridesAttributesEvenWithAnEmptyValue) {
    auto loaded = loadFixture(QStringLiteral("defs"));
    const SVGApplications& apps = *loaded->apps;
    struct Case {
        const char* id;
        const char* name;
        const char* descr;
        bool validSvg;
    };
    const Case cases[] = {
        {"Panels", "beta", "Information panels", true},
        {"Timeline", "Alpha", "Events on a time line", false},  // descr from the Modify
        {"Paging", "Pages renamed", "", true},                   // name from the Modify
        {"Quiet", "", "", true},                                 // the Modify empties the name; "1" is true
        {"Later", "Delta", "Defined in the second file", false},
        {"Nowhere", "", "", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        EXPECT_EQ(apps.GetAppName(QString::fromUtf8(c.id)), QString::fromUtf8(c.name));
        EXPECT_EQ(apps.GetAppDescr(QString::fromUtf8(c.id)), QString::fromUtf8(c.descr));
        EXPECT_EQ(apps.bIsAppValidInSVG(QString::fromUtf8(c.id)), c.validSvg);
    }
}

TEST(DefinitionLoading, ModifyReplacesOperationsInPlaceAndRemovesThoseLeftEmpty) {
    auto loaded = loadFixture(QStringLiteral("defs"));
    const SVGApplications& apps = *loaded->apps;
    // The replaced operation keeps its place before the entry's second one.
    EXPECT_EQ(apps.GetRequiredClicks(QStringLiteral("Paging")),
              QStringLiteral("Alt+Click on circle (Alt page)\r\nCtrl+Click on circle (Family page)"));
    // The Modify empties the BR operation, and the operation of three spaces
    // never counts; key and target texts are listed as written.
    EXPECT_EQ(apps.GetRequiredClicks(QStringLiteral("Corner")),
              QStringLiteral("Click on TR button (Three lines)\r\nClick on tr (Lower target)\r\n"
                             "click on BL button (Lower key)\r\nCtrl+Click on BL button (Bottom left)"));
    EXPECT_EQ(apps.GetRequiredClicks(QStringLiteral("Pictures")),
              QStringLiteral("Click on image (Picture)\r\nCtrl+Click on image (Line break)"));
    EXPECT_EQ(apps.GetRequiredClicks(QStringLiteral("Panels")),
              QStringLiteral("Click on box (Show panel)\r\nClick on image (Show picture)\r\n"
                             "Shift+Click on box (Shift panel)"));
}

}  // namespace
