// The user's main road on real GEDCOM files: the GEDCOM browser exports a
// tree definition file, the tree loads from it, the Tree Designer lays it out,
// the tree is saved and loaded again unchanged, and the chart run writes an
// SVG chart and an HTML page in which every person of the file has a box.
#include <algorithm>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "LayoutRules.h"
#include "UserRoad.h"
#include "foundation/AppError.h"
#include "../gedcom_library/QStringPrinting.h"

namespace {

struct RoadFile {
    const char* path;  // under the test data folder
    const char* what;
    bool pictures;     // exported with the persons' pictures (when they are at hand)
    bool ownCells = true;  // Auto Layout gives each person a cell of its own
};

// One file of each kind a user brings: character sets, pictures beside the
// file, and a large real export.
const RoadFile kFiles[] = {
    {"ged/5.5.1-sample-2.ged", "UTF-8 with non-ASCII names", true},
    {"ged/unicode-littleendian-crlf.ged", "UTF-16 little-endian without a byte-order mark", true},
    {"ged/a31486.ged", "Windows-1252 (CHAR ANSI)", true},
    {"road/pictures_family.ged", "pictures in a folder beside the file", true},
    // Its pictures are not at hand: exported without them.
    {"ged/5.5.1-sample-3.ged", "a real export of 4,578 persons", false},
};

class RoadTest : public ::testing::TestWithParam<RoadFile> {};

QString chartText(const QString& file) {
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

TEST_P(RoadTest, GedcomToDesignerToCharts) {
    const RoadFile& param = GetParam();
    QTemporaryDir work;
    ASSERT_TRUE(work.isValid());
    UserRoad road(QStringLiteral(KV_SOURCE_DIR "/share"), work.path());

    const QString treeFile =
        road.importGedcom(QStringLiteral(KV_TEST_DATA_DIR "/") + QString::fromUtf8(param.path), param.pictures);
    ASSERT_FALSE(treeFile.isEmpty()) << param.what << ": " << road.problems().join(u'\n').toStdString();
    ASSERT_TRUE(QFileInfo::exists(treeFile));
    ASSERT_GT(road.gedcomPersons(), 0);

    std::shared_ptr<SVGTree> tree = road.loadTree(treeFile);
    EXPECT_FALSE(tree->IsIncompletelyLoaded());
    EXPECT_EQ(tree->GetPersons().count(), road.gedcomPersons()) << param.what;
    EXPECT_EQ(tree->GetFamilies().count(), road.gedcomFamilies()) << param.what;

    // The designer shows a box in every cell the layout gave a person, and
    // Auto Layout gives every person a cell of its own.
    const int boxes = road.designAndLayout(tree);
    const TreeShape laidOut = TreeShape::of(*tree);
    EXPECT_EQ(boxes, laidOut.occupiedCells()) << param.what;
    if (param.ownCells) {
        EXPECT_EQ(laidOut.occupiedCells(), tree->GetPersons().count()) << param.what;
    }

    tree->SaveToFile();
    std::shared_ptr<SVGTree> reloaded = road.loadTree(treeFile);
    EXPECT_EQ(TreeShape::of(*reloaded).differenceFrom(laidOut), QString()) << param.what;

    for (const bool svg : {true, false}) {
        const QStringList charts = road.writeCharts(*reloaded, svg);
        ASSERT_EQ(charts.size(), 1) << param.what;
        const QString text = chartText(charts.first());
        const QString inst = reloaded->GetSettings().value(QStringLiteral("Inst"));
        // Each person's group, by its id: "P", the instance letter, "-", the key.
        QSet<QString> ids;
        static const QRegularExpression groupId(QStringLiteral("<g id=\"(P[^\"]*)\""));
        for (auto m = groupId.globalMatch(text); m.hasNext();) ids.insert(m.next().captured(1));
        // Pictures are found where the GEDCOM file names them, relative to it.
        if (QString::fromUtf8(param.path).startsWith(QLatin1String("road/"))) {
            EXPECT_TRUE(text.contains(QLatin1String("xlink:href=\"pictures/thomas.png\""))) << charts.first().toStdString();
        }
        for (int i = 0; i < reloaded->GetPersons().count(); ++i) {
            const QString id = QStringLiteral("P%1-%2").arg(inst, reloaded->GetPersons().keyAt(i));
            ASSERT_TRUE(ids.contains(id)) << param.what << ": " << id.toStdString() << " is not drawn in " << charts.first().toStdString();
        }
    }
    EXPECT_EQ(road.problems(), QStringList()) << param.what;
}

// Each call of kvHostile, the script that the notes of road/hostile_notes.ged
// try to run, that a browser would run: one in a tag (an event attribute or a
// target) or in a script element. Notes are taken as mark-up wherever they
// stand, CDATA sections included, as the charts' scripts take them.
QStringList liveHostileScript(const QString& text) {
    QStringList live;
    static const QString cdata = QStringLiteral("<![CDATA[");
    for (qsizetype at = text.indexOf(QLatin1String("kvHostile")); at >= 0;
         at = text.indexOf(QLatin1String("kvHostile"), at + 1)) {
        qsizetype open = text.lastIndexOf(u'<', at);
        while (open >= 0 && QStringView(text).mid(open).startsWith(cdata)) open = text.lastIndexOf(u'<', open - 1);
        const bool inTag = open > text.lastIndexOf(u'>', at);
        const qsizetype script = text.lastIndexOf(QLatin1String("<script"), at, Qt::CaseInsensitive);
        const bool inScript = script >= 0 && script > text.lastIndexOf(QLatin1String("</script"), at, Qt::CaseInsensitive);
        if (inTag || inScript) live << text.mid(std::max<qsizetype>(0, at - 40), 60);
    }
    return live;
}

// A shared GEDCOM file whose notes hold scripts, event handlers, frames,
// styles, forms and javascript: links gives a tree file and charts in which
// none of them can run, while the notes' own formatting stays; the browser
// warns once.
TEST(RoadHostileNotesTest, NotesOfASharedFileRunNoScriptInTheTreeOrItsCharts) {
    QTemporaryDir work;
    UserRoad road(QStringLiteral(KV_SOURCE_DIR "/share"), work.path());
    const QString treeFile = road.importGedcom(QStringLiteral(KV_TEST_DATA_DIR "/road/hostile_notes.ged"), false);
    ASSERT_FALSE(treeFile.isEmpty()) << road.problems().join(u'\n').toStdString();
    const QString treeText = chartText(treeFile);
    EXPECT_EQ(liveHostileScript(treeText), QStringList());
    EXPECT_TRUE(treeText.contains(QLatin1String("<b>Keeps</b> &amp; shows this."))) << treeText.toStdString();
    EXPECT_EQ(road.gedcomWarnings().size(), 1);
    EXPECT_TRUE(road.gedcomWarnings().value(0).startsWith(QLatin1String("Warning, notes in this GEDCOM file hold mark-up")));

    std::shared_ptr<SVGTree> tree = road.loadTree(treeFile);
    for (const bool svg : {true, false}) {
        const QStringList charts = road.writeCharts(*tree, svg);
        ASSERT_EQ(charts.size(), 1);
        const QString text = chartText(charts.first());
        EXPECT_EQ(liveHostileScript(text), QStringList()) << charts.first().toStdString();
        EXPECT_TRUE(text.contains(QLatin1String("<a href=\"https://example.org/\">site</a>"))) << charts.first().toStdString();
    }
    EXPECT_EQ(road.problems(), QStringList());
}

// Auto Layout of this large real tree once put 162 pairs of persons into one
// cell each (I796 and I212, I2932 and I895, ...): the designer then showed one
// box for both and the chart drew one over the other.
TEST(RoadLayoutTest, EveryPersonOfALargeRealTreeGetsACellOfItsOwn) {
    QTemporaryDir work;
    UserRoad road(QStringLiteral(KV_SOURCE_DIR "/share"), work.path());
    std::shared_ptr<SVGTree> tree =
        road.loadTree(road.importGedcom(QStringLiteral(KV_TEST_DATA_DIR "/ged/5.5.1-sample-3.ged"), false));
    road.designAndLayout(tree);
    EXPECT_EQ(TreeShape::of(*tree).occupiedCells(), tree->GetPersons().count());
}

// Auto Layout on every GEDCOM file of the test data that loads, as the
// browser exports it: every position as the layout's rules give it.
TEST(RoadLayoutTest, RealFilesLaidOutByTheRules) {
    QStringList files;
    for (const char* folder : {"ged", "road"})
        for (const QFileInfo& file :
             QDir(QStringLiteral(KV_TEST_DATA_DIR "/") + QLatin1String(folder))
                 .entryInfoList({QStringLiteral("*.ged"), QStringLiteral("*.GED")}, QDir::Files))
            files << file.filePath();
    int laidOut = 0;
    for (const QString& file : files) {
        QTemporaryDir work;
        UserRoad road(QStringLiteral(KV_SOURCE_DIR "/share"), work.path());
        QString treeFile;
        try {
            treeFile = road.importGedcom(file, false);
        } catch (const AppError&) {
        }
        if (treeFile.isEmpty()) continue;  // a file the library refuses
        std::shared_ptr<SVGTree> tree = road.loadTree(treeFile);
        EXPECT_EQ(LayoutRules::differenceFromLayout(*tree), "") << file.toStdString();
        ++laidOut;
    }
    EXPECT_GE(laidOut, 25);
}

INSTANTIATE_TEST_SUITE_P(Files, RoadTest, ::testing::ValuesIn(kFiles), [](const auto& info) {
    QString name = QFileInfo(QString::fromUtf8(info.param.path)).completeBaseName();
    name.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9]")), QStringLiteral("_"));
    return name.toStdString();
});

}  // namespace
