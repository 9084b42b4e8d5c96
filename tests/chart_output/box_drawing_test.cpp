#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "BoxDrawing.h"
#include "ChartTestSupport.h"
#include "RecordingReporter.h"
#include "SVGBox.h"
#include "foundation/Downloads.h"
#include "foundation/TextCoreErrors.h"

namespace {

const QString kHyphen = QString(QChar(0x2010));
const QString kEnDash = QString(QChar(0x2013));

// Draws the person `key` of the tree alone.
QString drawBox(SVGTree& tree, const QString& key, PictureSizeFn pictures = {}) {
    return drawToText([&](ChartOutputWriter& w) {
        BoxDrawing drawing(ChartDrawContext{tree, w, nullptr, std::move(pictures)});
        drawing.DrawBox(*tree.GetPersons().value(key));
    });
}

}  // namespace

TEST(BoxDrawing, CaptionLinesWrapAtSpacesOrWithAHyphen) {
    struct Case {
        QString text;
        QStringList lines;
    };
    const Case cases[] = {
        {"John Fitzgerald Smith", {"John", "Fitzgerald", "Smith"}},
        {"Abcdefghijklmn", {"Abcdefghij" + kHyphen, "klmn"}},
        {"Ann\\Fitzgerald-Smythe", {"Ann", "Fitzgerald" + kHyphen, "-Smythe"}},
        {"  Ten chars  ", {"  Ten chars  "}},  // only the trimmed length counts
        {"b. 1890-1950 (1890-) 1890-? A-B", {"b.", "1890" + kEnDash + "1950", "(1890" + kEnDash + ")",
                                             "1890" + kEnDash + "? A-B"}},
    };
    for (const Case& c : cases) EXPECT_EQ(BoxDrawing::prepareText(c.text, 10), c.lines) << c.text;
    // A space beyond the limit does not break by itself.
    EXPECT_EQ(BoxDrawing::sWrapText("Abcdefghij    k", 10), "Abcdefghij   \\k");
}

TEST(BoxDrawing, LineSpacingShrinksWithMoreLinesAndTooTallCaptionsGiveWayToTheShortOne) {
    SVGTree tree;
    BoxDrawing drawing(ChartDrawContext{tree, chartOutput(), nullptr, {}});
    double first = 0, spacing = 0;
    drawing.CalcTextLayout(3, first, spacing);
    EXPECT_DOUBLE_EQ(spacing, 1.231);
    EXPECT_DOUBLE_EQ(first, 1.847);
    drawing.CalcTextLayout(7, first, spacing);
    EXPECT_DOUBLE_EQ(spacing, 1);
    EXPECT_DOUBLE_EQ(first, 1);

    tree.NewPerson("tall", "1\\2\\3\\4\\5\\6\\7", "Short\\Two", 1, 1, "f", false, "", true);
    tree.NewPerson("fits", "1\\2\\3\\4\\5\\6", "Short", 2, 1, "f", false, "", true);
    tree.NewPerson("none", "1\\2\\3\\4\\5\\6\\7", "", 3, 1, "f", false, "", true);
    EXPECT_EQ(linesWith(drawBox(tree, "tall"), "<text").size(), 2);
    EXPECT_EQ(linesWith(drawBox(tree, "fits"), "<text").size(), 6);
    EXPECT_EQ(linesWith(drawBox(tree, "none"), "<text").size(), 7);
}

TEST(BoxDrawing, WholeBoxPictureLeavesNoRoomForText) {
    SVGTree tree;
    applySettings(tree, {{"ImagePart", "1"}, {"StockImageM", "m.png"}});
    tree.NewPerson("p", "Caption", "Short", 1, 1, "m", false, "", true);
    tree.NewPerson("q", "Caption", "Short", 2, 1, "f", false, "", true);  // no stock picture for f
    const QString stock = drawBox(tree, "p");
    EXPECT_EQ(linesWith(stock, "<text").size(), 0);
    EXPECT_EQ(linesWith(stock, "-StockM").size(), 1);
    EXPECT_EQ(linesWith(drawBox(tree, "q"), ">Caption</text>").size(), 1);
}

TEST(BoxDrawing, LocalButtonSettingsAddOrRemoveCornersForOnePerson) {
    SVGTree tree;
    applySettings(tree, {{"ButtonTR", "True"}});
    auto a = tree.NewPerson("a", "A", "", 1, 1, "f", false, "", true);
    auto b = tree.NewPerson("b", "B", "", 2, 1, "f", false, "", true);
    a->GetLocSettings().set("ButtonTR", "False");
    a->GetLocSettings().set("ButtonBL", "True");
    const QString ownA = drawBox(tree, "a");
    EXPECT_EQ(linesWith(ownA, "-Button").size(), 1);
    EXPECT_EQ(linesWith(ownA, "-ButtonBL").size(), 1);
    EXPECT_EQ(linesWith(drawBox(tree, "b"), "-ButtonTR").size(), 1);

    applySettings(tree, {{"ButtonTR", "False"}});
    b->GetLocSettings().set("ButtonBR", "Maybe");
    const AppError e = errorOf([&] { drawBox(tree, "b"); });
    EXPECT_EQ(e.number, RuntimeError::TypeMismatch);
}

TEST(BoxDrawing, PictureProportionsFromTheLocalFileOrTheDownloadCache) {
    QTemporaryDir dir;
    QFile file(dir.filePath("ann.png"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();

    SVGTree tree;
    RecordingReporter reporter;
    tree.setReporter(&reporter);
    applySettings(tree, {{"ImagePart", "0.5"}, {"Rounded", "False"}});
    tree.GetPlaceKeys().Define("pics", "http://127.0.0.1:1/pics/", dir.path() + "/");
    tree.NewPerson("ann", "Ann", "", 1, 1, "f", false, "$pics:ann.png", true);
    tree.NewPerson("bob", "Bob", "", 2, 1, "m", false, "$pics:bob.png", true);

    QStringList asked;
    auto pictures = [&](const QString& f) {
        asked.append(f);
        return QSize(50, 100);
    };
    const QString ann = drawBox(tree, "ann", pictures);
    EXPECT_EQ(asked, QStringList{dir.filePath("ann.png")});
    EXPECT_EQ(linesWith(ann, "<image x=\"80.375\" y=\"50.75\" width=\"19.25\" height=\"38.50\" "
                             "xlink:href=\"http://127.0.0.1:1/pics/ann.png\"")
                  .size(),
              1)
        << ann;
    EXPECT_TRUE(reporter.warnings().isEmpty());

    // Not on disk: fetched into the cache; nothing listens on port 1, so the
    // failure is reported once and the picture fills its area.
    setDownloadTimeouts({2000, 5000});
    const QString bob = drawBox(tree, "bob", pictures);
    EXPECT_EQ(asked.size(), 1);
    ASSERT_EQ(reporter.warnings().size(), 1);
    EXPECT_TRUE(reporter.warnings().first().startsWith("Unable to download file http://127.0.0.1:1/pics/bob.png"));
    EXPECT_EQ(linesWith(bob, "width=\"78.50\" height=\"38.50\" xlink:href=\"http://127.0.0.1:1/pics/bob.png\"").size(),
              1);

    // Without a picture loader the picture counts as one that cannot be loaded.
    reporter.entries.clear();
    drawBox(tree, "ann");
    EXPECT_EQ(reporter.warnings(), QList<QString>{"Failed to load image file: " + dir.filePath("ann.png")});
}
