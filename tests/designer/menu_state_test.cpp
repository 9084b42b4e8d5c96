#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "../foundation/LocalHttpServer.h"
#include "AppError.h"
#include "DesignerFixture.h"
#include "DesignerMenuCommands.h"
#include "DesignerMenuState.h"
#include "Downloads.h"
#include "LocaliseImages.h"

namespace {

TEST(DesignerMenus, StateWhenTheMenusOpen) {
    const QList<ViewpointMenuEntry> views = {{"v1", "North"}, {"v2", "South"}};
    const QList<ViewpointMenuEntry> fullOnly = {{"", "(Full Tree)"}};
    const QList<ViewpointMenuEntry> all = {{"", "(Full Tree)"}, {"v1", "North"}, {"v2", "South"}};
    struct Case {
        const char* name;
        DesignerMenuInput in;
        DesignerMenuState out;
    };
    const Case cases[] = {
        {"no viewpoints", {{}, false, true, false, false}, {fullOnly, false, false, false, true}},
        {"setting off", {views, false, false, false, false}, {fullOnly, false, false, false, false}},
        {"full tree shown", {views, true, true, false, false}, {all, false, false, false, true}},
        {"viewpoint shown", {views, true, true, true, false}, {all, true, false, false, true}},
        {"after a layout", {views, true, true, true, true}, {all, true, true, true, true}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(designerMenuState(c.in), c.out);
    }
}

TEST(DesignerMenus, InputReadFromTheTree) {
    DesignerTree t;
    t.setting("Viewpoints", "False");
    t.tree.AddViewpoint("v1", "North", 12, 8);
    t.tree.AddViewpoint("v2", "South", 12, 8);
    DesignerMenuInput in = DesignerMenuInput::of(t.tree, false);
    EXPECT_FALSE(in.usingViewpoints);
    EXPECT_EQ(designerMenuState(in).switchViewpoint.size(), 1);
    EXPECT_FALSE(designerMenuState(in).manageViewpoints);

    t.setting("Viewpoints", "True");
    t.tree.SetViewpointKey("v2");
    in = DesignerMenuInput::of(t.tree, true);
    const DesignerMenuState state = designerMenuState(in);
    EXPECT_EQ(state.switchViewpoint.value(2), (ViewpointMenuEntry{"v2", "South"}));
    EXPECT_TRUE(state.duplicateTree);
    EXPECT_TRUE(state.manageViewpoints);
    EXPECT_TRUE(state.revertLayout);
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

struct LocaliseTest : ::testing::Test {
    DesignerTree t;
    LocalHttpServer server;
    QTemporaryDir folder;
    DownloadTimeouts saved = downloadTimeouts();

    void SetUp() override {
        setDownloadTimeouts({2000, 3000});
        const QString site = QString::fromStdString(server.url("/pics/"));
        t.tree.GetPlaceKeys().Define("web", site, folder.path() + "/");
        t.tree.GetPlaceKeys().Define("remote", site, "");
        server.answer("/pics/a.jpg", 200, "picture a");
        server.answer("/pics/b.jpg", 200, "picture b");
        server.answer("/pics/sub/c.jpg", 200, "picture c");
    }
    void TearDown() override { setDownloadTimeouts(saved); }
    void person(const QString& key, const QString& image) { t.person(key, "m", 1, 1, image); }
    QStringList logged() const { return t.reporter.texts(RecordingReporter::Entry::Log); }
};

TEST_F(LocaliseTest, DownloadsOnlyMissingFilesAndNeverOverwrites) {
    person("a", "$web:a.jpg");
    person("b", "$web:b.jpg");
    person("k", "$bad key:c.jpg");    // not a valid place key
    person("r", "$remote:c.jpg");     // no local folder
    person("p", "pics/c.jpg");        // no place key
    person("s", "$web:sub/c.jpg");
    QDir(folder.path()).mkdir("sub");
    writeFile(folder.filePath("b.jpg"), "kept");

    LocaliseImages(t.tree, t.reporter);
    const QString site = QString::fromStdString(server.url("/pics/"));
    EXPECT_EQ(logged(), (QStringList{"Downloaded " + site + "a.jpg to " + folder.path() + "/a.jpg",
                                     "Downloaded " + site + "sub/c.jpg to " + folder.path() + "/sub/c.jpg",
                                     "Finished creating local copies of remote images"}));
    EXPECT_EQ(readAll(folder.filePath("a.jpg")), "picture a");
    EXPECT_EQ(readAll(folder.filePath("b.jpg")), "kept");
    EXPECT_EQ(server.requestCount(), 2);

    // A second run finds every file.
    t.reporter.entries.clear();
    LocaliseImages(t.tree, t.reporter);
    EXPECT_EQ(logged(), QStringList{"Finished creating local copies of remote images"});
    EXPECT_EQ(server.requestCount(), 2);
}

TEST_F(LocaliseTest, StopsAtTheFirstFailedDownload) {
    person("a", "$web:a.jpg");
    person("m", "$web:missing.jpg");
    person("b", "$web:b.jpg");
    try {
        LocaliseImages(t.tree, t.reporter);
        FAIL() << "no error";
    } catch (const AppError& e) {
        EXPECT_TRUE(e.description.startsWith("Unable to download file " + QString::fromStdString(server.url("/pics/missing.jpg"))));
    }
    EXPECT_EQ(readAll(folder.filePath("a.jpg")), "picture a");
    EXPECT_FALSE(QFile::exists(folder.filePath("b.jpg")));
    EXPECT_FALSE(logged().contains("Finished creating local copies of remote images"));
}

}  // namespace

namespace {

TEST(DesignerMenus, SelectAllAndChildLinksOfAllFamilies) {
    DesignerTree t;
    for (const char* key : {"a", "b", "c"}) t.person(key, "m", 1, 1);
    t.tree.GetPersons().value("b")->SetNewPosn(2, 1, false);
    t.tree.GetPersons().value("c")->SetNewPosn(2, 2, false);
    t.family("F", "a", "b", {"c"});
    t.open();
    t.model.BuildFamilyRecords(true);
    t.model.SelectPerson("b");
    EXPECT_EQ(SelectAll(t.model), (QList<int>{t.cell(1, 1), t.cell(2, 2)}));
    EXPECT_EQ(t.model.selection().text(), "b,a,c");

    t.tree.SetUnsaved(false);
    ShowAllChildLinks(t.model, false);
    const int f = t.model.records().familyIndex("F");
    ASSERT_GT(f, 0);
    EXPECT_TRUE(t.model.records().family(f).bChildrenHidden);
    ShowAllChildLinks(t.model, true);
    EXPECT_FALSE(t.model.records().family(f).bChildrenHidden);
    EXPECT_FALSE(t.tree.IsUnsaved());
}

}  // namespace
