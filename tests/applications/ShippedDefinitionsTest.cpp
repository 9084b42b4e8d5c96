#include <gtest/gtest.h>

#include "DefinitionFixtures.h"

namespace {

class ShippedDefinitions : public ::testing::Test {
protected:
    void SetUp() override { loaded = loadDefinitions(QStringLiteral(KV_SOURCE_DIR "/share")); }
    const SVGApplications& apps() const { return *loaded->apps; }
    std::unique_ptr<LoadedDefinitions> loaded;
};

TEST_F(ShippedDefinitions, LoadWithoutWarningsAndDefineWhatTheProgramNames) {
    EXPECT_EQ(loaded->reporter.warnings(), QStringList());
    EXPECT_EQ(loaded->reporter.logLines(),
              (QStringList{"Loading ApplicationsServices.xml", "3 applications, 3 services, and 0 modifiers were loaded"}));
    for (const char* id : {"InfoPanels", "Timeline", "LinkedTrees"})
        EXPECT_FALSE(apps().GetAppName(QString::fromUtf8(id)).isEmpty()) << id;
    QStringList ids, names, descrs;
    QList<bool> valid;
    apps().GetAppList(ids, names, descrs, valid);
    EXPECT_EQ(ids, (QStringList{"InfoPanels", "LinkedTrees", "Timeline"}));
}

TEST_F(ShippedDefinitions, ChartWithEveryApplicationHasItsLibrariesAndNoConflicts) {
    // A tree as it is seeded, with the two other applications switched on.
    StringDict settings = settingsOf({{"InfoPanels", "True"}, {"Timeline", "True"}, {"SVGFile", "False"}});
    StringDict dict = apps().Load(settings);
    apps().AddLinkedTrees(dict);
    RecordingReporter reporter;
    EXPECT_EQ(apps().Validate(dict, false, reporter), 0);
    apps().UpdateDictWithSrvs(dict, false, reporter);
    apps().UpdateSettings(dict, settings);
    EXPECT_TRUE(reporter.entries.isEmpty());
    EXPECT_EQ(dict.keys(), (QStringList{"InfoPanels", "Timeline", "LinkedTrees", "ChartSupport", "Navigation",
                                        "ProgramDataSupport"}));
    for (const char* lib : {"support.js", "navigation.js", "programdata.js"})
        EXPECT_TRUE(apps().AnythingRequireLib(dict, QString::fromUtf8(lib), false)) << lib;
    EXPECT_EQ(settings.value(QStringLiteral("NotesData")), QStringLiteral("True"));
    EXPECT_EQ(settings.value(QStringLiteral("ProgData")), QStringLiteral("True"));
    EXPECT_EQ(settings.value(QStringLiteral("NavData")), QStringLiteral("True"));
    const QString code = apps().HandlerCode(dict, QStringLiteral("click"), false);
    for (const char* call : {"showInfoPanel(ev, type, inst, key);", "showImagePanel(ev, type, inst, key);",
                             "showTimeline(ev, type, inst, key);", "showTreeLinks(ev, type, inst, key);"})
        EXPECT_TRUE(code.contains(QString::fromUtf8(call))) << call;

    // Every local setting the applications require is one persons or
    // families accept.
    const QStringList accepted = {"ButtonTR", "ButtonTL", "ButtonBR", "ButtonBL", "TooltipTR", "TooltipTL",
                                  "TooltipBR", "TooltipBL", "ClassPerson", "ClassPersonLines", "ClassPersonNotes",
                                  "HideLinks", "ClassFamily", "ClassFamilyLines", "ClassFamilyNotes"};
    QString localNames;
    apps().GetLocalSettings(dict, localNames);
    for (const QString& name : localNames.split(u',', Qt::SkipEmptyParts)) EXPECT_TRUE(accepted.contains(name)) << name.toStdString();
}

TEST_F(ShippedDefinitions, EveryApplicationWorksInAnSvgChartToo) {
    StringDict dict = enabled(apps(), {"InfoPanels", "Timeline", "LinkedTrees"});
    RecordingReporter reporter;
    EXPECT_EQ(apps().Validate(dict, true, reporter), 0);
    apps().UpdateDictWithSrvs(dict, true, reporter);
    EXPECT_TRUE(reporter.entries.isEmpty());
    EXPECT_EQ(apps().iCountValidApps(dict, true), 6);
    EXPECT_NE(apps().HandlerCode(dict, QStringLiteral("click"), true), QString());
}

TEST_F(ShippedDefinitions, TreeLinkKindsShareOneSignature) {
    QStringList ids, descrs, sigs;
    apps().GetDataList(ids, descrs, sigs);
    EXPECT_EQ(ids, (QStringList{"TreeLink", "TreeLinkV"}));
    EXPECT_EQ(descrs, (QStringList{"Link to another chart", ""}));
    EXPECT_EQ(sigs, (QStringList{"viewpoint|name|file|target|label", "viewpoint|name|file|target|label"}));
    // A generated row has one value per item of the signature.
    const QString row = QStringLiteral("TreeLinkV | v2 | Second view | Tree_v2 | PA-p1 | Self");
    EXPECT_EQ(row.split(QStringLiteral(" | ")).size() - 1, sigs[1].split(u'|').size());
    EXPECT_TRUE(apps().UsesPlaceKeys(QStringLiteral("TreeLink | v2 | View | $web:Tree_v2 | PA-p1 | Go")));
    EXPECT_FALSE(apps().UsesPlaceKeys(row));
}

}  // namespace
