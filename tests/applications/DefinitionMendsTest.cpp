#include <gtest/gtest.h>

#include "DefinitionFixtures.h"

namespace {

TEST(DefinitionMends, FileThatDoesNotParseIsReportedWithItsLineAndTheOthersLoad) {
    auto loaded = loadFixture(QStringLiteral("broken"));
    QStringList texts;
    for (const auto& e : loaded->reporter.entries) texts << e.text;
    ASSERT_EQ(texts.size(), 6);
    EXPECT_EQ(texts.mid(0, 3), (QStringList{"Loading ApplicationsServices_a.xml",
                                            "1 applications, 0 services, and 0 modifiers were loaded",
                                            "Loading ApplicationsServices_b.xml"}));
    EXPECT_EQ(loaded->reporter.entries.at(3).kind, RecordingReporter::Entry::Warn);
    EXPECT_TRUE(texts[3].startsWith(QStringLiteral("XML parse error: "))) << texts[3].toStdString();
    EXPECT_TRUE(texts[3].contains(
        QStringLiteral("in ApplicationsServices_b.xml at line 4: \"    <Op id=\"x\" key=\"Click\" on=\"box\">broken();</Opp>\"")))
        << texts[3].toStdString();
    EXPECT_EQ(texts.mid(4), (QStringList{"Loading ApplicationsServices_c.xml",
                                         "0 applications, 1 services, and 0 modifiers were loaded"}));
    EXPECT_EQ(loaded->apps->TotalApps(), 1);
    EXPECT_EQ(loaded->apps->TotalSrvs(), 1);
    EXPECT_EQ(loaded->apps->GetAppName(QStringLiteral("C")), QStringLiteral("From c"));
    EXPECT_EQ(loaded->apps->GetAppName(QStringLiteral("B")), QString());
}

class MalformedDefinitions : public ::testing::Test {
protected:
    void SetUp() override { loaded = loadFixture(QStringLiteral("dupes")); }
    const SVGApplications& apps() const { return *loaded->apps; }
    std::unique_ptr<LoadedDefinitions> loaded;
};

TEST_F(MalformedDefinitions, EveryProblemIsReportedWithItsFileAndEntry) {
    const QString file2 = QStringLiteral("Definition file ApplicationsServices_2.xml, ");
    EXPECT_EQ(loaded->reporter.warnings(),
              (QStringList{
                  file2 + "Application Dup: the id is already defined (the first definition is used)",
                  file2 + "Application Bad: srv value \"maybe\" is not a Boolean (False is used)",
                  file2 + "Application Bad: valid-svg value \"sure\" is not a Boolean (False is used)",
                  file2 + "Application Bad: text \"perhaps\" of RequireSrv Srv is not a Boolean (True is used)",
                  file2 + "Application Bad: text \"often\" of RequireLib support.js is not a Boolean (True is used)",
                  file2 + "Application Bad: RequireSetting Width: weak value \"sometimes\" is not a Boolean "
                          "(False is used)",
                  file2 + "Application Bad: Op id a is given more than once (the first is used)",
                  file2 + "Application Bad: RequireSrv id Srv is given more than once (the first is used)",
                  file2 + "Modify Bad: valid-svg value \"x\" is not a Boolean (the entry's value is used)",
                  file2 + "ProgramData Odd: hidden value \"nah\" is not a Boolean (False is used)",
                  file2 + "ProgramData Odd: place-keys value \"often\" is not a Boolean (False is used)",
                  file2 + "ProgramData Loop1: the alias-of chain Loop1 -> Loop2 -> Loop1 returns to Loop1",
                  file2 + "ProgramData Loop2: the alias-of chain Loop2 -> Loop1 -> Loop2 returns to Loop2",
                  file2 + "ProgramData Lost: alias-of names Nowhere, which no definition file defines",
              }));
    EXPECT_EQ(loaded->reporter.logLines().last(), QStringLiteral("1 applications, 1 services, and 1 modifiers were loaded"));
}

TEST_F(MalformedDefinitions, TheFirstDefinitionOfAnIdWins) {
    EXPECT_EQ(apps().TotalApps(), 2);
    const StringDict dict = apps().Load(settingsOf({{"Dup", "True"}}));
    EXPECT_EQ(dict.keys(), QStringList{"Dup"});
    EXPECT_EQ(dict.value(QStringLiteral("Dup")), QStringLiteral("First"));
    const QString code = apps().HandlerCode(dict, QStringLiteral("click"), true);
    EXPECT_TRUE(code.contains(QStringLiteral("first(key);")));
    EXPECT_FALSE(code.contains(QStringLiteral("second(key);")));
    RecordingReporter reporter;
    EXPECT_EQ(apps().Validate(dict, false, reporter), 0);
    EXPECT_TRUE(reporter.entries.isEmpty());
    EXPECT_EQ(apps().GetAllRequiredClicks(dict).size(), 1);
}

TEST_F(MalformedDefinitions, MalformedValuesReadAsTheirDefaults) {
    EXPECT_FALSE(apps().bIsAppValidInSVG(QStringLiteral("Bad")));
    StringDict dict = apps().Load(settingsOf({{"Bad", "True"}}));
    EXPECT_EQ(dict.keys(), QStringList{"Bad"});  // an application, not a service
    RecordingReporter reporter;
    apps().UpdateDictWithSrvs(dict, false, reporter);
    EXPECT_EQ(dict.keys(), (QStringList{"Bad", "Srv"}));
    EXPECT_TRUE(reporter.entries.isEmpty());
    EXPECT_TRUE(apps().AnythingRequireLib(dict, QStringLiteral("support.js"), false));
    const QString code = apps().HandlerCode(dict, QStringLiteral("click"), false);
    EXPECT_TRUE(code.contains(QStringLiteral("kept();")));
    EXPECT_FALSE(code.contains(QStringLiteral("dropped();")));
    StringDict settings = settingsOf({{"Width", "80"}});
    apps().UpdateSettings(dict, settings);
    EXPECT_EQ(settings.value(QStringLiteral("Width")), QStringLiteral("90"));  // not weak
    EXPECT_FALSE(apps().UsesPlaceKeys(QStringLiteral("Odd | 1")));
}

TEST_F(MalformedDefinitions, AliasCyclesAndMissingAliasesGiveEmptySignatures) {
    QString tags, names;
    EXPECT_EQ(apps().GetDataSig(QStringLiteral("Loop1"), tags, names), QString());
    EXPECT_EQ(tags, QString());
    EXPECT_EQ(apps().GetDataSig(QStringLiteral("Lost"), tags, names), QString());
    QStringList ids, descrs, sigs;
    apps().GetDataList(ids, descrs, sigs);
    EXPECT_EQ(ids, (QStringList{"Loop1", "Loop2", "Lost", "Odd"}));
    EXPECT_EQ(descrs, (QStringList{"", "", "", "Odd values"}));
    EXPECT_EQ(sigs, (QStringList{"", "", "", "v"}));
}

TEST(DefinitionMends, EnabledIdWithoutDefinitionIsSkippedWithOneWarning) {
    auto loaded = loadFixture(QStringLiteral("defs"));
    const SVGApplications& apps = *loaded->apps;
    for (bool svg : {false, true}) {
        SCOPED_TRACE(svg ? "SVG" : "HTML");
        StringDict dict = enabled(apps, {"Nowhere", "Paging"});
        const StringDict alone = enabled(apps, {"Paging"});
        StringDict settings = settingsOf({{"SVGFile", svg ? "True" : "False"}});
        RecordingReporter reporter;
        apps.UpdateDictWithSrvs(dict, svg, reporter);
        apps.UpdateSettings(dict, settings);
        EXPECT_EQ(reporter.warnings(),
                  QStringList{"Application/Services entry Nowhere is enabled but no definition file defines it; "
                              "it is left out of the chart"});
        EXPECT_EQ(dict.keys(), (QStringList{"Nowhere", "Paging"}));
        QString names;
        EXPECT_TRUE(apps.GetLocalSettings(dict, names).isEmpty());
        EXPECT_EQ(apps.AnythingRequireLib(dict, QStringLiteral("programdata.js"), svg), true);
        EXPECT_EQ(apps.ScriptFiles(dict, svg), apps.ScriptFiles(alone, svg));
        EXPECT_EQ(apps.StyleFiles(dict, svg), apps.StyleFiles(alone, svg));
        EXPECT_EQ(apps.PreambleCode(dict, svg), QString());
        EXPECT_EQ(apps.PostambleCode(dict, svg), QString());
        EXPECT_EQ(apps.HandlerCode(dict, QStringLiteral("click"), svg),
                  apps.HandlerCode(alone, QStringLiteral("click"), svg));
    }
}

}  // namespace
