#include <QGraphicsLineItem>
#include <QGraphicsScene>
#include <QImage>
#include <QFile>
#include <QPainter>
#include <QStyleOptionGraphicsItem>
#include <QTemporaryDir>

#include "FamilyCircleItem.h"
#include "FormGridFixture.h"
#include "GridView.h"
#include "LinkLineItem.h"
#include "MetafileFixtures.h"
#include "PlainLoadPicture.h"
#include "ucGridBox.h"

namespace {
QImage paintItem(QGraphicsItem* item) {
    const QRectF r = item->boundingRect();
    QImage image(r.size().toSize(), QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    QStyleOptionGraphicsItem option;
    item->paint(&painter, &option, nullptr);
    return image;
}
QColor windowsColour(quint32 v) { return QColor(int(v & 0xFF), int((v >> 8) & 0xFF), int((v >> 16) & 0xFF)); }
}  // namespace

TEST_F(FormGridTest, SceneHoldsItemsForOccupiedCellsCirclesAndLines) {
    person("p1", "m", 1, 1);
    person("p2", "f", 2, 1);
    person("c1", "m", 1, 2);
    person("c2", "f", 2, 2, QString(), true);
    family("F1", "p1", "p2", {"c1", "c2"});
    form->LoadDetails(tree, QString());

    EXPECT_EQ(form->boxCount(), 4) << "no items for empty cells";
    EXPECT_EQ(form->windowTitle(), "Tree Designer - My Tree (12 x 8)");
    // Box 80 at zoom 12: 960 twips, 64 pixels; the first box at 600 twips, 40 pixels.
    ucGridBox* b11 = form->box(cell(1, 1));
    ASSERT_TRUE(b11);
    EXPECT_EQ(b11->pos(), QPointF(40, 40));
    EXPECT_EQ(b11->boundingRect(), QRectF(0, 0, 64, 64));
    EXPECT_EQ(b11->Tag, "p1");
    EXPECT_EQ(form->box(cell(2, 2))->pos(), QPointF(144, 144));
    EXPECT_EQ(form->box(cell(3, 3)), nullptr);

    FamilyCircleItem* circle = form->circle(1);
    ASSERT_TRUE(circle);
    EXPECT_TRUE(circle->isVisible());
    EXPECT_EQ(circle->Tag, "F1");
    EXPECT_EQ(circle->pos(), QPointF(114, 62));
    EXPECT_DOUBLE_EQ(circle->diameter(), 20);
    EXPECT_EQ(form->familyLine(1)->line(), QLineF(104, 72, 144, 72));
    EXPECT_EQ(form->childLine(1)->line(), QLineF(124, 72, 72, 144));
    EXPECT_EQ(form->childLine(2)->pen().style(), Qt::DashLine) << "tentative child";
    EXPECT_EQ(form->childLine(2)->pen().width(), 1);
    EXPECT_EQ(form->childLine(1)->pen().width(), 2);
    EXPECT_LT(form->familyLine(1)->zValue(), circle->zValue());
    EXPECT_LT(circle->zValue(), b11->zValue());

    // Hit tests in scene pixels.
    EXPECT_EQ(form->iCellAtPoint({41, 41}), cell(1, 1));
    EXPECT_EQ(form->iCellAtPoint({110, 41}), 0);
    EXPECT_EQ(form->iCircleAtPoint({124, 72}), 1);
}

TEST(LinkLineItemTest, BoundsHoldEveryPaintedPixel) {
    struct Case {
        QLineF line;
        int width;
        Qt::PenStyle style;
    };
    const Case cases[] = {
        {{10, 20, 3010, 20}, 2, Qt::SolidLine},  // a spouse line thousands of pixels long
        {{40, 10, 40, 90}, 2, Qt::SolidLine},
        {{90, 10, 12, 70}, 2, Qt::SolidLine},  // a child line, leftwards and down
        {{10, 10, 70, 90}, 1, Qt::DashLine},   // a tentative child's line
        {{30, 30, 30, 30}, 2, Qt::SolidLine},  // both ends in one point
    };
    for (const Case& c : cases) {
        QPen pen(Qt::black, c.width, c.style);
        pen.setCosmetic(true);
        LinkLineItem item;
        item.setLine(c.line);
        item.setPen(pen);
        QGraphicsLineItem plain(c.line);
        plain.setPen(pen);
        const QRectF bounds = item.boundingRect();
        // A plain line item finds its bounds from the stroked outline (none for a point).
        const QRectF stroked = plain.boundingRect();
        if (!stroked.isEmpty()) {
            EXPECT_TRUE(bounds.contains(stroked)) << c.line.x1() << "," << c.line.y1();
        }
        const double reach = 2 * c.width;
        const QRectF widest = QRectF(c.line.p1(), c.line.p2()).normalized().adjusted(-reach, -reach, reach, reach);
        EXPECT_TRUE(widest.contains(bounds)) << "no wider than the line and its pen";

        QImage image(3100, 120, QImage::Format_ARGB32);
        image.fill(Qt::transparent);
        {
            QPainter painter(&image);
            QStyleOptionGraphicsItem option;
            item.paint(&painter, &option, nullptr);
        }
        const QRect inside = bounds.toAlignedRect();
        int painted = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (qAlpha(image.pixel(x, y)) > 0) {
                    ++painted;
                    EXPECT_TRUE(inside.contains(x, y)) << "pixel " << x << "," << y << " outside the bounds";
                }
        if (c.line.length() > 0) {
            EXPECT_GT(painted, 0);
        }
    }
}

TEST_F(FormGridTest, RefreshShowsTheChangedTreeWithNoItemLeftOver) {
    person("p1", "m", 1, 1);
    person("p2", "f", 2, 1);
    person("c1", "m", 1, 2);
    person("p3", "m", 4, 1);
    person("p4", "f", 5, 1);
    person("c2", "f", 4, 2);
    person("c3", "m", 5, 2);
    person("p5", "m", 7, 1);
    person("p6", "f", 8, 1);
    family("F1", "p1", "p2", {"c1"});
    family("F2", "p3", "p4", {"c2", "c3"});
    family("F4", "p5", "p6");
    form->LoadDetails(tree, QString());

    // Two families go and one comes, a person goes and two move: the rebuild
    // shows the boxes, circles and lines of what the tree now holds, and
    // keeps no other item.
    tree->RemFamily("F1");
    tree->RemFamily("F4");
    family("F3", "p1", "c1");
    tree->RemPerson("c3");
    int col = 7, row = 3;
    tree->SetPerColRow("p6", col, row);
    col = 3, row = 3;
    tree->SetPerColRow("p2", col, row);
    form->mnuRefresh_Click();

    QStringList boxes, circles;
    int lines = 0;
    for (QGraphicsItem* item : form->scene()->items()) {
        if (!item->isVisible()) continue;
        if (auto* box = dynamic_cast<ucGridBox*>(item)) {
            const int at = cell(int(box->pos().x() - 40) / 104 + 1, int(box->pos().y() - 40) / 104 + 1);
            boxes << box->Tag + "@" + QString::number(at);
            EXPECT_EQ(form->box(at), box);
        } else if (auto* circle = dynamic_cast<FamilyCircleItem*>(item)) {
            circles << circle->Tag;
        } else if (dynamic_cast<QGraphicsLineItem*>(item)) {
            ++lines;
        }
    }
    const auto at = [this](const char* key, int c, int r) {
        return key + QStringLiteral("@") + QString::number(cell(c, r));
    };
    boxes.sort();
    circles.sort();
    EXPECT_EQ(boxes, QStringList({at("c1", 1, 2), at("c2", 4, 2), at("p1", 1, 1), at("p2", 3, 3), at("p3", 4, 1),
                                  at("p4", 5, 1), at("p5", 7, 1), at("p6", 7, 3)}));
    EXPECT_EQ(form->boxCount(), 8);
    EXPECT_EQ(circles, QStringList({"F2", "F3"}));
    EXPECT_EQ(lines, 2 + 1) << "two spouse lines and the child line of F2";
    const int f2 = form->model().records().familyIndex("F2");
    EXPECT_EQ(form->circle(f2)->Tag, "F2");
    const QList<int> children = form->model().records().childrenOfFamily(f2);
    ASSERT_EQ(children.size(), 1);
    EXPECT_EQ(form->childLine(children[0])->line(), QLineF(form->familyLine(f2)->line().center(), QPointF(384, 144)));
    int hidden = 0;
    for (QGraphicsItem* item : form->scene()->items())
        if (!item->isVisible() && item != form->familyLine(0) && item != form->childLine(0)) ++hidden;
    EXPECT_EQ(hidden, 0) << "no item kept hidden but the rubber bands";
}

TEST_F(FormGridTest, LongLinesArePaintedAlongTheirWholeLength) {
    int cols = 90, rows = 4;
    tree->SetGridColRow(cols, rows, true);
    person("p1", "m", 1, 1);
    person("p2", "f", 70, 1);
    person("near", "m", 2, 3);
    person("far", "f", 88, 4);
    family("F1", "p1", "p2", {"near", "far"});
    form->LoadDetails(tree, QString());
    const QColor green(0x28, 0xAB, 0x28);
    const auto checkLines = [&](const char* when) {
        const int f = form->model().records().familyIndex("F1");
        QList<QGraphicsLineItem*> lines{form->familyLine(f)};
        for (int child : form->model().records().childrenOfFamily(f)) lines << form->childLine(child);
        ASSERT_EQ(lines.size(), 3) << when;
        for (QGraphicsLineItem* line : lines)
            for (double t : {0.05, 0.3, 0.5, 0.7, 0.95})
                EXPECT_TRUE(showsColourNear(line->line().pointAt(t), green))
                    << when << ": line " << line->line().x1() << "," << line->line().y1() << " to "
                    << line->line().x2() << "," << line->line().y2() << " at " << t;
    };
    checkLines("opened");
    form->zoomIn();
    form->zoomIn();
    checkLines("zoomed in");
    form->mnuZoomSmall_Click();
    checkLines("zoomed out");
    int col = 30, row = 2;
    tree->SetPerColRow("p2", col, row);
    form->refreshPerson("p2");
    checkLines("a parent moved");
}

TEST_F(FormGridTest, SelectionMarksBoxesAndAReloadRebuildsTheGrid) {
    person("a", "m", 1, 1);
    person("b", "f", 3, 2);
    SVGViewpointPtr view = tree->AddViewpoint("V", "Branch", 6, 5);
    view->AddPerRef("b", 2, 2, true);
    form->LoadDetails(tree, QString());
    form->ToggleSelect("a");
    EXPECT_EQ(form->box(cell(1, 1))->GetBorderWidth(), 3);
    EXPECT_EQ(form->box(cell(1, 1))->GetBorderColour(), GridColour::kBlack);
    form->ToggleSelect("a");
    EXPECT_EQ(form->box(cell(1, 1))->GetBorderWidth(), 1);
    form->SelectPerson("a");
    form->model().geometry().zoom = 20;

    form->LoadDetails(tree, "V");
    EXPECT_TRUE(form->model().selection().isEmpty());
    EXPECT_EQ(form->model().geometry().zoom, 12);
    EXPECT_EQ(form->windowTitle(), "Tree Designer - My Tree, viewpoint Branch (6 x 5)");
    EXPECT_EQ(form->boxCount(), 1);
    EXPECT_EQ(form->box(cell(2, 2))->Tag, "b");
}

TEST_F(FormGridTest, MovedPersonIsShownInItsNewCellWithItsLinks) {
    person("p1", "m", 1, 1);
    person("p2", "f", 2, 1);
    person("k", "m", 1, 2);
    family("F1", "p1", "p2", {"k"});
    form->LoadDetails(tree, QString());
    int col = 4, row = 1;
    tree->SetPerColRow("p2", col, row);
    form->refreshPerson("p2");
    EXPECT_EQ(form->box(cell(2, 1)), nullptr);
    ASSERT_TRUE(form->box(cell(4, 1)));
    EXPECT_EQ(form->box(cell(4, 1))->Tag, "p2");
    EXPECT_EQ(form->familyLine(1)->line().p2(), QPointF(352, 72));
    EXPECT_EQ(form->childLine(1)->line().p1(), form->familyLine(1)->line().center());
}

TEST_F(FormGridTest, PaintedBoxShowsBorderBackgroundPictureAndCaption) {
    QTemporaryDir dir;
    QImage red(20, 10, QImage::Format_RGB32);
    red.fill(Qt::red);
    const QString picture = dir.filePath("red.png");
    ASSERT_TRUE(red.save(picture));
    setting("ImagePart", "0.5");
    person("r", "m", 1, 1, picture);
    person("n", "f", 2, 1, dir.filePath("missing.png"));
    tree->SetRootPerson(tree->GetPersons().value("r"));
    form->LoadDetails(tree, QString());

    ucGridBox* box = form->box(cell(1, 1));
    ASSERT_TRUE(box);
    EXPECT_EQ(box->GetCaption(), "r") << "short text under a picture";
    const QImage image = paintItem(box);
    ASSERT_EQ(image.size(), QSize(64, 64));
    EXPECT_EQ(image.pixelColor(0, 0), windowsColour(GridColour::kRootBorder)) << "root: blue border";
    EXPECT_EQ(image.pixelColor(3, 30), windowsColour(GridColour::kRootBorder)) << "4 pixels wide";
    EXPECT_EQ(image.pixelColor(4, 62 - 8), windowsColour(GridColour::kMale)) << "background inside the border";
    // Inner 56 x 56 at (4, 4); picture area 28 high; a 2:1 picture fills the width, 28 high.
    EXPECT_EQ(image.pixelColor(32, 10), QColor(Qt::red)) << "picture at the top";

    // A picture that cannot be loaded: logged in red, the box without it.
    ucGridBox* failed = form->box(cell(2, 1));
    EXPECT_EQ(failed->GetImage(), "");
    EXPECT_TRUE(logLines().join('\n').contains("missing.png")) << logLines().join('\n').toStdString();
}

TEST_F(FormGridTest, BoxShowsAnEnhancedMetafilePictureWithEitherPictureLoader) {
    QTemporaryDir dir;
    setting("ImagePart", "0.5");
    tree->SetRootPerson(person("e", "m", 1, 1));
    // One file per loader: the window decodes each file once.
    for (bool plainLoader : {false, true}) {
        SCOPED_TRACE(plainLoader ? "plain loader" : "picture loader");
        const QString picture = dir.filePath(plainLoader ? "plain.emf" : "default.emf");
        QFile file(picture);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(fixtures::emfPicture());
        file.close();
        tree->GetPersons().value("e")->SetImage(picture);

        bPlainLoadPicture = plainLoader;
        form->LoadDetails(tree, QString());
        bPlainLoadPicture = false;

        ucGridBox* box = form->box(cell(1, 1));
        ASSERT_TRUE(box);
        EXPECT_EQ(box->GetImage(), picture) << logLines().join('\n').toStdString();
        EXPECT_DOUBLE_EQ(box->aspect(), 0.5) << "the metafile's own 96 x 48 frame";
        // The 2:1 picture fills the 56 pixels inside the border, 28 high: its
        // red rectangle on the left, its blue circle on the right.
        const QImage image = paintItem(box);
        EXPECT_EQ(image.pixelColor(28, 15), QColor(Qt::red));
        EXPECT_EQ(image.pixelColor(46, 18), QColor(Qt::blue));
    }
}

TEST_F(FormGridTest, EmptyCellsArePaintedInTheViewBackground) {
    person("a", "m", 2, 1);
    form->LoadDetails(tree, QString());
    // The view paints the empty cells behind the scene's items.
    form->view()->resize(200, 120);
    QImage background(200, 120, QImage::Format_ARGB32);
    {
        QPainter painter(&background);
        form->view()->render(&painter, QRectF(0, 0, 200, 120), QRect(0, 0, 200, 120));
    }
    EXPECT_EQ(background.pixelColor(41, 41 + 30).rgb(), form->palette().color(QPalette::Base).rgb()) << "empty cell (1,1)";
    EXPECT_EQ(background.pixelColor(40, 40 + 40).rgb(), form->palette().color(QPalette::Mid).rgb()) << "its frame";
    EXPECT_EQ(background.pixelColor(20, 20).rgb(), form->palette().color(QPalette::Window).rgb()) << "margin";
    EXPECT_EQ(background.pixelColor(144 + 30, 40 + 62).rgb(), windowsColour(GridColour::kMale).rgb()) << "occupied cell (2,1)";
}

TEST_F(FormGridTest, VeryLargeGridQuestionDefaultsToNo) {
    int cols = 150, rows = 40;
    tree->SetGridColRow(cols, rows, true);
    form->LoadDetails(tree, QString());
    ASSERT_EQ(boxes.shown.size(), 1);
    EXPECT_EQ(boxes.shown[0].defaultButton, QMessageBox::No);
    EXPECT_EQ(form->windowTitle(), "Tree Designer - My Tree (70 x 28)");
}
