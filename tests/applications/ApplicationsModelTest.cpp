#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "ApplicationsModel.h"
#include "DefinitionFixtures.h"

namespace {

class ApplicationsChoice : public ::testing::Test {
protected:
    void SetUp() override { loaded = loadFixture(QStringLiteral("defs")); }
    const SVGApplications& apps() const { return *loaded->apps; }

    int indexOf(const ApplicationsModel& model, const QString& id) const {
        for (int i = 0; i < model.count(); ++i)
            if (model.choice(i).id == id) return i;
        ADD_FAILURE() << "no entry " << id.toStdString();
        return -1;
    }

    std::unique_ptr<LoadedDefinitions> loaded;
};

TEST(ApplicationsChoiceEmpty, NoDefinitionsReportsAndReturnsFalse) {
    QTemporaryDir empty;
    auto none = loadDefinitions(empty.path());
    ApplicationsModel model(*none->apps);
    RecordingReporter reporter;
    StringDict dict;
    EXPECT_FALSE(model.load(dict, false, reporter));
    EXPECT_EQ(reporter.texts(RecordingReporter::Entry::Warn), QStringList{"No applications or services defined"});
    EXPECT_EQ(model.count(), 0);
}

TEST_F(ApplicationsChoice, ListsApplicationsByNameTickedFromTheDictionaryAndMarksHtmlOnlyOnesForSvg) {
    const StringDict dict = enabled(apps(), {"Panels", "Support"});
    for (const bool svg : {false, true}) {
        ApplicationsModel model(apps());
        RecordingReporter reporter;
        ASSERT_TRUE(model.load(dict, svg, reporter));
        QStringList ids;
        QStringList marked;
        QStringList ticked;
        for (int i = 0; i < model.count(); ++i) {
            ids << model.choice(i).id;
            if (model.isMarked(i)) marked << model.choice(i).id;
            if (model.choice(i).ticked) ticked << model.choice(i).id;
        }
        // Services never show; the names sort ignoring case.
        EXPECT_EQ(ids, (QStringList{"Quiet", "Timeline", "Panels", "Later", "Corner", "Paging", "Pictures"}));
        EXPECT_EQ(ticked, QStringList{"Panels"});
        EXPECT_EQ(marked, (svg ? QStringList{"Timeline", "Later"} : QStringList{})) << "svg " << svg;
        EXPECT_TRUE(reporter.entries.isEmpty());
    }
}

TEST_F(ApplicationsChoice, HelpGivesTheEntrysClickOperations) {
    ApplicationsModel model(apps());
    RecordingReporter reporter;
    ASSERT_TRUE(model.load(StringDict(), false, reporter));
    EXPECT_EQ(model.helpText(indexOf(model, "Paging")),
              "Alt+Click on circle (Alt page)\r\nCtrl+Click on circle (Family page)");
    EXPECT_EQ(model.helpText(indexOf(model, "Quiet")), "(none)");
}

TEST_F(ApplicationsChoice, AcceptWritesTheTickedChangesAndKeepsEntriesWithoutABox) {
    StringDict dict = enabled(apps(), {"Panels", "Support"});
    ApplicationsModel model(apps());
    RecordingReporter reporter;
    ASSERT_TRUE(model.load(dict, false, reporter));

    // Unchanged and clean: the dictionary stays as it was.
    EXPECT_TRUE(model.accept(dict, reporter));
    EXPECT_EQ(dict.keys(), (QStringList{"Panels", "Support"}));

    model.setTicked(indexOf(model, "Panels"), false);
    model.setTicked(indexOf(model, "Pictures"), true);
    model.setTicked(indexOf(model, "Quiet"), true);
    EXPECT_TRUE(model.accept(dict, reporter));
    EXPECT_EQ(dict.keys(), (QStringList{"Support", "Quiet", "Pictures"}));
    EXPECT_EQ(dict.value("Pictures"), "Pictures");
    EXPECT_TRUE(reporter.entries.isEmpty());
}

TEST_F(ApplicationsChoice, ConflictsLeaveTheDictionaryUntouched) {
    StringDict dict = enabled(apps(), {"Panels"});
    ApplicationsModel model(apps());
    RecordingReporter reporter;
    ASSERT_TRUE(model.load(dict, false, reporter));
    model.setTicked(indexOf(model, "Timeline"), true);
    EXPECT_FALSE(model.accept(dict, reporter));
    EXPECT_EQ(dict.keys(), QStringList{"Panels"});
    EXPECT_EQ(reporter.texts(RecordingReporter::Entry::WarnDiscard).size(), 1);

    // A warning about an entry not valid in an SVG chart is no conflict.
    ApplicationsModel svg(apps());
    RecordingReporter svgReporter;
    ASSERT_TRUE(svg.load(dict, true, svgReporter));
    svg.setTicked(indexOf(svg, "Later"), true);
    EXPECT_TRUE(svg.accept(dict, svgReporter));
    EXPECT_EQ(dict.keys(), (QStringList{"Panels", "Later"}));
    EXPECT_EQ(svgReporter.texts(RecordingReporter::Entry::Warn).size(), 1);
}

}  // namespace
