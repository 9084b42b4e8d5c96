#include <gtest/gtest.h>

#include "AppError.h"
#include "DefinitionFixtures.h"

namespace {

class EnabledSet : public ::testing::Test {
protected:
    void SetUp() override { loaded = loadFixture(QStringLiteral("defs")); }
    const SVGApplications& apps() const { return *loaded->apps; }
    std::unique_ptr<LoadedDefinitions> loaded;
};

TEST_F(EnabledSet, LoadTakesTrueSettingsOfDefinedIdsInDefinitionOrder) {
    const StringDict settings = settingsOf({{"Support", "1"},
                                            {"Timeline", "tRuE"},
                                            {"Panels", "False"},
                                            {"Nowhere", "True"},
                                            {"Paging", "-1"},
                                            {"Width", "100"}});
    const StringDict dict = apps().Load(settings);
    EXPECT_EQ(dict.keys(), (QStringList{"Timeline", "Paging", "Support"}));
    EXPECT_EQ(dict.values(), (QStringList{"Alpha", "Pages renamed", "Support service"}));
}

TEST_F(EnabledSet, LoadRaisesOnASettingThatIsNotBoolean) {
    try {
        apps().Load(settingsOf({{"Timeline", "yes"}}));
        FAIL() << "no error raised";
    } catch (const AppError& e) {
        EXPECT_EQ(e.number, errorNumber(ErrorOffset::InvalidKey));
        EXPECT_TRUE(e.description.contains(QStringLiteral("Timeline")));
    }
}

TEST_F(EnabledSet, SettingsFollowTheDictionaryAndBack) {
    StringDict settings = settingsOf({{"Width", "100"}, {"Panels", "True"}, {"Timeline", "False"}});
    const StringDict dict = enabled(apps(), {"Timeline", "Corner"});
    apps().SynchSettingsWithDict(dict, settings);
    EXPECT_EQ(settings.keys(), (QStringList{"Width", "Panels", "Timeline", "Corner"}));
    EXPECT_EQ(settings.values(), (QStringList{"100", "False", "True", "True"}));
    // Loading the written settings gives the same set back.
    EXPECT_EQ(apps().Load(settings), dict);
}

TEST_F(EnabledSet, SynchDictWithSettingAddsOnceAndRemoves) {
    StringDict dict;
    apps().SynchDictWithSetting(dict, QStringLiteral("Timeline"), true);
    apps().SynchDictWithSetting(dict, QStringLiteral("Timeline"), true);
    apps().SynchDictWithSetting(dict, QStringLiteral("Nowhere"), true);
    EXPECT_EQ(dict.keys(), (QStringList{"Timeline", "Nowhere"}));
    EXPECT_EQ(dict.values(), (QStringList{"Alpha", ""}));
    apps().SynchDictWithSetting(dict, QStringLiteral("Timeline"), false);
    apps().SynchDictWithSetting(dict, QStringLiteral("Absent"), false);
    EXPECT_EQ(dict.keys(), QStringList{"Nowhere"});
}

TEST_F(EnabledSet, AddLinkedTreesAddsTheEntryOnce) {
    StringDict dict = enabled(apps(), {"Panels"});
    apps().AddLinkedTrees(dict);
    apps().AddLinkedTrees(dict);
    EXPECT_EQ(dict.keys(), (QStringList{"Panels", "LinkedTrees"}));
}

TEST_F(EnabledSet, RequiredServicesAreAddedInAnHtmlChart) {
    StringDict dict = enabled(apps(), {"Panels", "Timeline", "Corner"});
    RecordingReporter reporter;
    apps().UpdateDictWithSrvs(dict, false, reporter);
    // Panels adds Support; the Modify of Timeline cancels its HtmlSrv, which
    // Corner still requires; Support's own requirement (Extra) waits for the
    // next call.
    EXPECT_EQ(dict.keys(), (QStringList{"Panels", "Timeline", "Corner", "Support", "HtmlSrv"}));
    EXPECT_EQ(dict.value(QStringLiteral("HtmlSrv")), QStringLiteral("HTML service"));
    // A requirement of an application is reported even when its flag is False.
    EXPECT_EQ(reporter.warnings(),
              QStringList{"Application/Services entry Paging is not a service (see RequireSrv elements)"});

    RecordingReporter again;
    apps().UpdateDictWithSrvs(dict, false, again);
    EXPECT_EQ(dict.keys().last(), QStringLiteral("Extra"));
}

TEST_F(EnabledSet, ServicesNotValidInSvgAreReportedAndLeftOut) {
    StringDict dict = enabled(apps(), {"Corner", "Timeline"});
    RecordingReporter reporter;
    apps().UpdateDictWithSrvs(dict, true, reporter);
    EXPECT_EQ(dict.keys(), (QStringList{"Corner", "Timeline"}));
    EXPECT_EQ(reporter.warnings(),
              QStringList{"Service HtmlSrv is required by application Corner but is not support when SVGFile is True"});
}

TEST_F(EnabledSet, UpdateSettingsWritesButtonsAndRequiredSettings) {
    StringDict settings = settingsOf({{"SVGFile", "False"}, {"Header", "Mine.svg"}, {"NotesData", "False"}});
    apps().UpdateSettings(enabled(apps(), {"Panels", "Corner", "Timeline"}), settings);
    // Panels: NotesData overwritten, its weak Header leaves the present value;
    // Corner: TR and BL buttons (not "tr", not the removed BR); Timeline's
    // Modify overwrites Header without looking at weak.
    EXPECT_EQ(settings.keys(), (QStringList{"SVGFile", "Header", "NotesData", "ButtonTR", "ButtonBL"}));
    EXPECT_EQ(settings.values(), (QStringList{"False", "Header.html", "True", "True", "True"}));
}

TEST_F(EnabledSet, UpdateSettingsInAnSvgChartSkipsEntriesNotValidThere) {
    StringDict settings = settingsOf({{"SVGFile", "true"}});
    apps().UpdateSettings(enabled(apps(), {"Timeline", "Panels"}), settings);
    // Timeline is HTML only: no ButtonTR and no Header.html; Panels' weak
    // Header fills the absent setting.
    EXPECT_EQ(settings.keys(), (QStringList{"SVGFile", "NotesData", "Header"}));
    EXPECT_EQ(settings.values(), (QStringList{"true", "True", "Header_js.svg"}));

    StringDict bad = settingsOf({{"SVGFile", "sometimes"}});
    EXPECT_THROW(apps().UpdateSettings(enabled(apps(), {"Panels"}), bad), AppError);
}

TEST_F(EnabledSet, LocalSettingsMergeEntriesAndTheirModify) {
    QString names = QStringLiteral("stale");
    const OrderedDict<StringDict> locals =
        apps().GetLocalSettings(enabled(apps(), {"Panels", "Timeline", "Corner"}), names);
    EXPECT_EQ(names, QStringLiteral("ClassPerson,TooltipTR"));
    ASSERT_EQ(locals.keys(), QStringList{"Link"});
    const StringDict& link = locals.valueAt(0);
    EXPECT_EQ(link.keys(), (QStringList{"ClassPerson", "TooltipTR"}));
    EXPECT_EQ(link.values(), (QStringList{"linked", "Timeline view"}));

    EXPECT_TRUE(apps().GetLocalSettings(enabled(apps(), {"Corner"}), names).isEmpty());
    EXPECT_EQ(names, QString());
}

TEST_F(EnabledSet, CountOfValidAppsDependsOnTheChartKind) {
    StringDict dict = enabled(apps(), {"Panels", "Timeline", "Nowhere"});
    EXPECT_EQ(apps().iCountValidApps(dict, false), 3);
    EXPECT_EQ(apps().iCountValidApps(dict, true), 1);
    EXPECT_EQ(apps().iCountValidApps(StringDict(), true), 0);
}

}  // namespace
