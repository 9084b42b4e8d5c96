// A person's picture in a chart: the box takes the picture's proportions from
// the file as the program loads it, Windows metafiles included; a picture
// file that cannot be loaded is reported and the box drawn without them.
#include <gtest/gtest.h>

#include <QFile>

#include "ChartRun.h"
#include "ChartRunSupport.h"
#include "MetafileFixtures.h"
#include "PictureEntry.h"

namespace {

class PersonPictureChartTest : public ChartFixture {
protected:
    void SetUp() override {
        ChartFixture::SetUp();
        useTemplate("<!-- header -->\n");
        settings({{"ImagePart", "0.5"}});
    }

    QString writePicture(const QString& name, const QByteArray& bytes) {
        const QString file = path(name);
        QFile out(file);
        EXPECT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(bytes);
        return file;
    }

    // The chart's picture elements, drawn with the given picture sizes.
    QStringList imageLines(const PictureSizeFn& sizes) {
        ChartRun run(*tree, apps, reporter, path("data"));
        run.setPictureSize(sizes);
        run.ProcessTree(tree->GetTreeFile());
        QStringList lines;
        for (const QString& line : chartText(path("TreeSmall.html")).split('\n'))
            if (line.contains("<image")) lines.append(line.trimmed());
        return lines;
    }
};

TEST_F(PersonPictureChartTest, MetafilePicturesGiveTheBoxTheirProportions) {
    struct Case {
        const char* name;
        QByteArray bytes;
        QSize size;  // the picture's own size
    };
    const std::vector<Case> cases = {
        {"dad.emf", fixtures::emfPicture(), {96, 48}},
        {"dad.wmf", fixtures::wmfPicture(), {40, 20}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString file = writePicture(c.name, c.bytes);
        tree->GetPersons().value("dad")->SetImage(file);
        reporter.entries.clear();
        const QStringList loaded = imageLines(pictureFileSize);
        ASSERT_EQ(loaded.size(), 1);
        EXPECT_TRUE(loaded[0].contains("xlink:href=\"" + file + "\"")) << loaded[0].toStdString();
        // The same box as for any picture of that size, and not the box of a
        // picture whose size is unknown.
        EXPECT_EQ(loaded, imageLines([&](const QString&) { return c.size; }));
        EXPECT_NE(loaded, imageLines([](const QString&) { return QSize(); }));
        EXPECT_TRUE(reporter.warnings().isEmpty());
    }
}

TEST_F(PersonPictureChartTest, ADamagedMetafileIsReportedAndTheBoxStillDrawn) {
    const QByteArray whole = fixtures::emfPicture();
    const QString file = writePicture("dad.emf", whole.left(whole.size() - 4));
    tree->GetPersons().value("dad")->SetImage(file);
    const QStringList lines = imageLines(pictureFileSize);
    EXPECT_EQ(lines, imageLines([](const QString&) { return QSize(); }));
    EXPECT_TRUE(reporter.warnings().contains("Failed to load image file: " + file));
}

}  // namespace
