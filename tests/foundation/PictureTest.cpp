#include <cerrno>

#include <QBuffer>
#include <QDesktopServices>
#include <QFile>
#include <QImageReader>
#include <QTemporaryDir>
#include <QUrl>

#include <gtest/gtest.h>

#include "AppError.h"
#include "DibCodec.h"
#include "FailingDisks.h"
#include "IconFile.h"
#include "MetafileFixtures.h"
#include "PictureEntry.h"
#include "PictureFixtures.h"
#include "PictureManager.h"
#include "PlainLoadPicture.h"
#include "RecordingReporter.h"
#include "ShellOpen.h"
#include "StdPictureEx.h"
#include "TextFileTestSupport.h"

using namespace fixtures;

namespace {

constexpr quint32 kRed = 0xFFFF0000u;
constexpr quint32 kGreen = 0xFF00FF00u;
constexpr quint32 kBlue = 0xFF0000FFu;

// The colour of a picture's pixel as drawn, 0xAARRGGBB premultiplied.
quint32 drawnPixel(const PicturePtr& picture, int x, int y) {
    return picture->image().convertToFormat(QImage::Format_ARGB32_Premultiplied).pixel(x, y);
}

QList<quint32> filled(int count, quint32 value) { return QList<quint32>(count, value); }

QImage solid(int width, int height, QColor colour, QImage::Format format = QImage::Format_ARGB32) {
    QImage image(width, height, format);
    image.fill(colour);
    return image;
}

QString writeFile(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes) {
    const QString path = dir.filePath(name);
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(bytes);
    return path;
}

// A semi-transparent pixel: alpha 128 over colour (200, 100, 50), premultiplied.
constexpr quint32 kHalfPremultiplied = 0x80643219u;

TEST(PictureLoaderTest, DecodesEachFormatWithItsTypeAndAlpha) {
    struct Case {
        const char* name;
        QByteArray bytes;
        bool keep;
        int type;          // the picture's own type
        int typeCode;      // PictureType
        bool managed;
        QSize size;
        quint32 pixel;     // drawn pixel at (1, 1)
    };
    QList<quint32> straight = filled(4, 0x80C86432u);  // red above alpha: straight
    QList<quint32> twoLevel = {0, 0xFF102030u, 0xFF102030u, 0xFF102030u};
    const QImage translucent = solid(3, 2, QColor(0, 0, 255, 128));
    const QImage opaque = solid(3, 2, QColor(0, 255, 0), QImage::Format_RGB32);
    const std::vector<Case> cases = {
        {"BMP 24", bmp(2, 2, filled(4, kRed), 24), false, 1, 1, false, {2, 2}, kRed},
        {"BMP 32 opaque", bmp(2, 2, filled(4, kGreen), 32), false, 1, 1, false, {2, 2}, kGreen},
        {"BMP 32 premultiplied", bmp(2, 2, filled(4, kHalfPremultiplied), 32), false, 1, 1, true, {2, 2},
         kHalfPremultiplied},
        {"BMP 32 straight", bmp(2, 2, straight, 32), false, 1, 1, true, {2, 2}, 0x80643219u},
        {"BMP 32 two-level from a file", bmp(2, 2, twoLevel, 32), false, 1, 1, false, {2, 2}, 0xFF102030u},
        {"BMP 32 top-down", bmp(2, 2, {kRed, kRed, kRed, kBlue}, 32, true), false, 1, 1, false, {2, 2}, kBlue},
        {"BMP 8 RLE", bmp8(3, 2, {qRgb(0, 0, 0), qRgb(0, 0, 255)}, {0, 0, 0, 0, 1, 0}, true), false, 1, 1, false,
         {3, 2}, kBlue},
        {"PNG with alpha", png(translucent), false, 1, 1, true, {3, 2}, 0x80000080u},
        {"PNG opaque", png(opaque), false, 1, 6, true, {3, 2}, kGreen},
        {"PNG kept", png(opaque), true, 1, 6, true, {3, 2}, kGreen},
        {"JPEG", jpeg(solid(8, 8, Qt::white)), false, 1, 1, false, {8, 8}, 0xFFFFFFFFu},
        {"JPEG kept", jpeg(solid(8, 8, Qt::white)), true, 1, 5, false, {8, 8}, 0xFFFFFFFFu},
        {"GIF first frame", gif(4, 3, {qRgb(255, 0, 0), qRgb(0, 0, 255)}, {10, 0}, 0), false, 1, 1, false,
         {4, 3}, kRed},
        {"GIF kept", gif(4, 3, {qRgb(255, 0, 0), qRgb(0, 0, 255)}, {10, 0}, 0), true, 1, 7, true, {4, 3}, kRed},
        {"TIFF", tiff(3, 2, {qRgb(0, 255, 0), qRgb(255, 0, 0)}), false, 1, 8, true, {3, 2}, kGreen},
        {"ICO", iconFile({{16, 32, kRed}, {32, 32, kGreen}}), false, 3, 3, true, {32, 32}, kGreen},
        {"CUR", iconFile({{32, 24, kBlue, false, {5, 7}}}, 2), false, 3, 3, false, {32, 32}, kBlue},
    };
    StdPictureEx loader;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PicturePtr picture = loader.LoadPicture(c.bytes, -1, 0, 0, 0, c.keep);
        ASSERT_TRUE(picture);
        EXPECT_EQ(picture->Type(), c.type);
        EXPECT_EQ(loader.PictureType(picture), c.typeCode);
        EXPECT_EQ(loader.IsManaged(picture), c.managed);
        EXPECT_EQ(QSize(picture->width(), picture->height()), c.size);
        const quint32 pixel = drawnPixel(picture, 1, 1);
        for (int shift : {0, 8, 16, 24})  // JPEG may round a channel by one
            EXPECT_NEAR(int((pixel >> shift) & 0xFF), int((c.pixel >> shift) & 0xFF), 2) << std::hex << pixel;
        EXPECT_EQ(loader.HasOriginalFormat(picture), c.keep);
    }
}

TEST(PictureLoaderTest, ReadsImageFormatsQtProvides) {
    // The TIFF plugin and the built-in GIF reader are what the loader relies on.
    const QList<QByteArray> formats = QImageReader::supportedImageFormats();
    for (const char* format : {"bmp", "png", "jpeg", "gif", "tiff"}) EXPECT_TRUE(formats.contains(format)) << format;
}

TEST(PictureLoaderTest, IconEntryChosenForSizeAndDepth) {
    struct Case {
        const char* name;
        QList<IconImage> images;
        int iconSize, depth, cx, cy;
        quint32 colour;  // identifies the chosen entry
        int side;        // size of the picture made
    };
    const QList<IconImage> sizes = {{16, 32, kRed}, {32, 32, kGreen}, {48, 32, kBlue, true}};
    const QList<IconImage> depths = {{32, 4, kRed}, {32, 8, kGreen}, {32, 32, kBlue}};
    const std::vector<Case> cases = {
        {"normal size of several", sizes, -1, 32, 0, 0, kGreen, 32},
        {"small", sizes, 0, 32, 0, 0, kRed, 16},
        {"wanted 24 takes the next larger", sizes, 4, 32, 24, 24, kGreen, 24},
        {"wanted 64 takes the largest (PNG)", sizes, 4, 32, 64, 0, kBlue, 64},
        {"wanted 48 from the PNG entry", sizes, -2, 32, 0, 0, kBlue, 48},
        {"same size: deepest within depth 32", depths, 1, 32, 0, 0, kBlue, 32},
        {"same size: within depth 8", depths, 1, 8, 0, 0, kGreen, 32},
        {"single image keeps its size", {{48, 24, kRed}}, -1, 0, 0, 0, kRed, 48},
    };
    StdPictureEx loader;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PicturePtr icon = loader.LoadPicture(iconFile(c.images), c.iconSize, c.depth, c.cx, c.cy);
        ASSERT_TRUE(icon);
        EXPECT_EQ(icon->Type(), 3);
        EXPECT_EQ(icon->width(), c.side);
        EXPECT_EQ(icon->height(), c.cy ? c.cy : c.side);
        EXPECT_EQ(drawnPixel(icon, c.side / 2, c.side / 2), c.colour);
    }

    // Depth 0 takes the screen's depth and hands it back.
    int depth = 0;
    EXPECT_TRUE(loader.LoadPicture(iconFile(depths), 1, &depth, 0, 0, false, 0));
    EXPECT_GT(depth, 0);

    // A cursor keeps the hot spot of its entry; a masked pixel is transparent.
    PicturePtr cursor = loader.LoadPicture(
        iconFile({{16, 24, kGreen, false, {3, 9}, true}, {32, 24, kBlue, false, {6, 18}, true}}, 2), -1);
    ASSERT_TRUE(cursor);
    EXPECT_TRUE(cursor->isCursor());
    EXPECT_EQ(cursor->hotSpot(), QPoint(6, 18));
    EXPECT_EQ(drawnPixel(cursor, 0, 0), 0u);
    EXPECT_EQ(drawnPixel(cursor, 1, 0), kBlue);
}

TEST(PictureLoaderTest, SemiTransparentIconPixelsKeepTheirColour) {
    StdPictureEx loader;
    // A 32-bit icon image with straight colour (200, 100, 50) at alpha 128.
    PicturePtr icon = loader.LoadPicture(iconFile({{16, 32, 0x80C86432u}}), -1);
    ASSERT_TRUE(icon);
    EXPECT_EQ(drawnPixel(icon, 4, 4), kHalfPremultiplied);

    // A premultiplied bitmap made into an icon keeps its colours too.
    PicturePtr bitmap = loader.LoadPicture(bmp(2, 2, {kHalfPremultiplied, 0, kRed, kRed}, 32), -1);
    ASSERT_TRUE(bitmap);
    PicturePtr converted = loader.LoadPicture(bitmap, -1, 0, 0, 0, false, 3);
    ASSERT_TRUE(converted);
    EXPECT_EQ(converted->Type(), 3);
    const quint32 pixel = drawnPixel(converted, 0, 0);
    EXPECT_EQ(pixel >> 24, 0x80u);
    EXPECT_NEAR(int((pixel >> 16) & 0xFF), 100, 1);
    EXPECT_NEAR(int((pixel >> 8) & 0xFF), 50, 1);
    EXPECT_EQ(drawnPixel(converted, 1, 0), 0u);
    EXPECT_EQ(drawnPixel(converted, 0, 1), kRed);

    // And back to a bitmap drawn with alpha.
    PicturePtr back = loader.LoadPicture(converted, -1, 0, 0, 0, false, 1);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->Type(), 1);
    EXPECT_TRUE(loader.IsManaged(back));
}

TEST(PictureLoaderTest, SavesOriginalBytesOrBitmapsAndReloads) {
    QTemporaryDir dir;
    StdPictureEx loader;
    const QByteArray jpegBytes = jpeg(solid(8, 8, QColor(255, 255, 255)));
    PicturePtr kept = loader.LoadPicture(jpegBytes, -1, 0, 0, 0, true);
    ASSERT_TRUE(kept);

    QByteArray saved;
    loader.SavePicture(kept, saved);
    EXPECT_EQ(saved, jpegBytes);

    // As a 24-bit BMP over a background colour: the translucent PNG shows it.
    PicturePtr translucent = loader.LoadPicture(png(solid(3, 2, QColor(0, 0, 255, 0))), -1);
    loader.SavePicture(translucent, saved, true, false, 0x0000FF);  // red, as 0x00BBGGRR
    ASSERT_GE(saved.size(), 54);
    EXPECT_EQ(saved.left(2), QByteArray("BM"));
    EXPECT_EQ(saved[28], char(24));
    PicturePtr reloaded = loader.LoadPicture(saved, -1);
    ASSERT_TRUE(reloaded);
    EXPECT_EQ(drawnPixel(reloaded, 2, 1), kRed);

    // A managed 32-bit bitmap keeps its premultiplied pixels.
    PicturePtr half = loader.LoadPicture(bmp(2, 2, filled(4, kHalfPremultiplied), 32), -1);
    const QString path = dir.filePath("half.bmp");
    loader.SavePicture(half, path, false, true);
    PicturePtr fromFile = LoadPictureEx(path);
    EXPECT_EQ(fromFile->width(), 2);
    EXPECT_EQ(drawnPixel(fromFile, 1, 1), kHalfPremultiplied);

    // An icon writes itself as an icon file.
    PicturePtr icon = loader.LoadPicture(iconFile({{16, 32, kGreen, false, {}, true}}), -1);
    loader.SavePicture(icon, saved);
    PicturePtr iconAgain = loader.LoadPicture(saved, -1);
    ASSERT_TRUE(iconAgain);
    EXPECT_EQ(iconAgain->Type(), 3);
    EXPECT_EQ(drawnPixel(iconAgain, 0, 0), 0u);
    EXPECT_EQ(drawnPixel(iconAgain, 5, 5), kGreen);

    // A picture destination receives a new, independent picture.
    PicturePtr copy;
    loader.SavePicture(kept, copy);
    ASSERT_TRUE(copy);
    EXPECT_NE(copy.get(), kept.get());
    EXPECT_EQ(copy->width(), 8);

    // Errors: no original bytes (5), no destination (17); nothing for no picture.
    PicturePtr plainPng = loader.LoadPicture(png(solid(3, 2, Qt::green, QImage::Format_RGB32)), -1);
    auto errorOf = [&](const std::function<void()>& call) {
        try {
            call();
        } catch (const AppError& error) {
            EXPECT_EQ(error.source, "SavePicture");
            return error.number;
        }
        return 0;
    };
    EXPECT_EQ(errorOf([&] { loader.SavePicture(plainPng, saved); }), 5);
    EXPECT_EQ(errorOf([&] { loader.SavePicture(plainPng, QString()); }), 17);
    EXPECT_EQ(errorOf([&] { loader.SavePicture(nullptr, dir.filePath("none.bmp")); }), 0);
    EXPECT_FALSE(QFile::exists(dir.filePath("none.bmp")));
    EXPECT_NE(errorOf([&] { loader.SavePicture(half, dir.filePath("no/such/folder.bmp")); }), 0);
    // A file that cannot take all its bytes leaves the old picture as it was.
    const QByteArray before = TextFileScratch::read(path);
    {
        FileSizeLimit limit(20);
        EXPECT_EQ(errorOf([&] { loader.SavePicture(icon, path); }), EFBIG);
    }
    EXPECT_EQ(TextFileScratch::read(path), before);
}

TEST(PictureLoaderTest, GifFramesAndTheirTiming) {
    StdPictureEx loader;
    const QByteArray bytes = gif(4, 3, {qRgb(255, 0, 0), qRgb(0, 0, 255)}, {25, 0}, 3);
    PicturePtr animated = loader.LoadPicture(bytes, -1, 0, 0, 0, true);
    ASSERT_TRUE(animated);
    EXPECT_EQ(loader.SubImageCount(animated), 2);
    EXPECT_EQ(loader.SubImageIndex(animated), 1);

    EXPECT_EQ(loader.SubImage(animated, 0), animated);
    EXPECT_EQ(loader.SubImage(animated, 3), animated);
    EXPECT_EQ(loader.SubImageIndex(animated), 1);
    EXPECT_EQ(drawnPixel(animated, 0, 0), kRed);

    EXPECT_EQ(loader.SubImage(animated, 2), animated);
    EXPECT_EQ(loader.SubImageIndex(animated), 2);
    EXPECT_EQ(drawnPixel(animated, 3, 2), kBlue);

    QList<int> durations;
    ASSERT_TRUE(loader.GetGIFAnimationInfo(animated, durations, 5));
    EXPECT_EQ(durations, QList<int>({3, 25, 1}));
    ASSERT_TRUE(loader.GetGIFAnimationInfo(animated, durations, 100));
    EXPECT_EQ(durations[2], 10);

    // Without the original format a GIF is one plain picture.
    PicturePtr still = loader.LoadPicture(bytes, -1);
    EXPECT_EQ(loader.SubImageCount(still), 0);
    EXPECT_FALSE(loader.IsManaged(still));
    EXPECT_FALSE(loader.GetGIFAnimationInfo(still, durations, 0));
    EXPECT_FALSE(loader.GetGIFAnimationInfo(loader.LoadPicture(png(solid(2, 2, Qt::red)), -1), durations, 0));
}

TEST(PictureLoaderTest, TiffPagesBecomePicturesOfTheirOwn) {
    StdPictureEx loader;
    PicturePtr first = loader.LoadPicture(tiff(3, 2, {qRgb(0, 255, 0), qRgb(255, 0, 0)}), -1, 0, 0, 0, true);
    ASSERT_TRUE(first);
    EXPECT_EQ(loader.SubImageCount(first), 2);
    PicturePtr second = loader.SubImage(first, 2);
    ASSERT_TRUE(second);
    EXPECT_NE(second, first);
    EXPECT_EQ(second->width(), 4);
    EXPECT_EQ(drawnPixel(second, 3, 1), kRed);
    EXPECT_EQ(loader.SubImageIndex(second), 2);
    EXPECT_TRUE(loader.IsManaged(second));
    EXPECT_FALSE(loader.IsManaged(first));
    EXPECT_EQ(drawnPixel(first, 0, 0), kGreen);
}

TEST(PictureLoaderTest, ManagedPicturesAreSharedAndReleased) {
    releasePictureLoader();
    auto first = std::make_unique<StdPictureEx>();
    PicturePtr a = first->LoadPicture(png(solid(2, 2, Qt::red)), -1);
    PicturePtr b = first->LoadPicture(png(solid(2, 2, Qt::blue, QImage::Format_RGB32)), -1);
    PicturePtr c = first->LoadPicture(png(solid(2, 2, Qt::green)), -1);
    ASSERT_EQ(PictureManager::current()->PictureCount(), 3);

    // A second loader works on the same table.
    auto second = std::make_unique<StdPictureEx>();
    EXPECT_TRUE(second->IsManaged(b));
    EXPECT_EQ(second->PictureType(b), 6);

    // A released picture leaves the table; the last record takes its place.
    b.reset();
    EXPECT_EQ(PictureManager::current()->PictureCount(), 2);
    EXPECT_TRUE(second->IsManaged(c));
    second->UnManage(c);
    EXPECT_FALSE(second->IsManaged(c));
    EXPECT_EQ(drawnPixel(c, 0, 0), kGreen);
    second->UnManage(c);  // nothing more happens
    EXPECT_EQ(PictureManager::current()->PictureCount(), 1);

    // When the loaders are gone, pictures stay drawable; a new loader starts afresh.
    first.reset();
    second.reset();
    EXPECT_EQ(PictureManager::current(), nullptr);
    EXPECT_EQ(drawnPixel(a, 1, 1), kRed);
    a.reset();
    StdPictureEx third;
    EXPECT_FALSE(third.IsManaged(c));
    EXPECT_EQ(third.PictureType(c), 1);
}

TEST(PictureLoaderTest, RefusedArgumentsGiveNoPicture) {
    StdPictureEx loader;
    EXPECT_FALSE(loader.LoadPicture());
    EXPECT_FALSE(loader.LoadPicture(QString()));
    EXPECT_FALSE(loader.LoadPicture(QByteArray("B")));
    EXPECT_FALSE(loader.LoadPicture(PicturePtr()));
    EXPECT_FALSE(loader.LoadPicture(QString("/no/such/picture.png")));
    EXPECT_FALSE(loader.LoadPicture(QByteArray("plain text, no picture")));
    // A placeable WMF and an EMF that are their headers alone, with no
    // records and no end record, are damaged metafiles: they give nothing.
    QByteArray wmf = QByteArray::fromHex("D7CDC69A0000000000002003E8030000000000") + QByteArray(40, '\0');
    QByteArray emf = QByteArray::fromHex("01000000840000000000000000000000") + QByteArray(28, '\0') +
                     QByteArray(" EMF", 4) + QByteArray(80, '\0');
    EXPECT_FALSE(loader.LoadPicture(wmf, -1));
    EXPECT_FALSE(loader.LoadPicture(emf, -1));
    auto empty = std::make_shared<StdPicture>(StdPicture::Bitmap, QImage());
    EXPECT_FALSE(loader.LoadPicture(empty));
    EXPECT_EQ(loader.PictureType(nullptr), 0);
    EXPECT_FALSE(loader.HasOriginalFormat(nullptr));

    // An unknown required format acts as none; a copy is a new picture.
    PicturePtr original = loader.LoadPicture(bmp(2, 2, filled(4, kRed), 24), -1, 0, 0, 0, false, 9);
    ASSERT_TRUE(original);
    PicturePtr copy = loader.LoadPicture(original, -1);
    ASSERT_TRUE(copy);
    EXPECT_NE(copy, original);
    EXPECT_EQ(drawnPixel(copy, 1, 1), kRed);
    // Desired sizes are taken modulo 4096.
    PicturePtr icon = loader.LoadPicture(iconFile({{16, 32, kRed}, {32, 32, kGreen}}), 4, 32, 4096 + 20, 0);
    ASSERT_TRUE(icon);
    EXPECT_EQ(icon->width(), 20);
}

TEST(PictureLoaderTest, MetafilesDrawAtTheirOwnSize) {
    struct Probe {
        int x, y;
        quint32 colour;  // drawn, premultiplied
    };
    struct Case {
        const char* name;
        QByteArray bytes;
        int type;
        QSize size;
        QList<Probe> probes;
    };
    const QByteArray wmf = wmfPicture();
    const std::vector<Case> cases = {
        {"EMF", emfPicture(), 4, {96, 48},
         {{40, 20, kRed}, {24, 40, kGreen}, {24, 46, 0xFF000000u}, {72, 16, kBlue}, {95, 1, 0},
          {59, 35, 0xFFFFFF00u}, {69, 35, 0xFF00FFFFu}, {59, 45, 0xFFFF00FFu}, {69, 45, 0xFFFFFFFFu}}},
        // Without a frame the bounds give the size.
        {"EMF blocks", emfBlocks(), 4, {40, 20}, {{15, 15, kRed}, {30, 10, kGreen}, {4, 2, kBlue}}},
        {"placeable WMF", wmf, 2, {40, 20}, {{10, 10, kRed}, {30, 10, kBlue}}},
        // Without the placeable header the picture is what its records draw.
        {"WMF", wmf.mid(22), 2, {}, {}},
    };
    StdPictureEx loader;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        for (bool keep : {false, true}) {
            PicturePtr picture = loader.LoadPicture(c.bytes, -1, 0, 0, 0, keep);
            ASSERT_TRUE(picture);
            EXPECT_EQ(picture->Type(), c.type);
            EXPECT_EQ(loader.PictureType(picture), c.type);
            EXPECT_FALSE(loader.IsManaged(picture));
            EXPECT_EQ(loader.HasOriginalFormat(picture), keep);
            if (c.size.isValid()) {
                EXPECT_EQ(QSize(picture->width(), picture->height()), c.size);
            }
            for (const Probe& probe : c.probes)
                EXPECT_EQ(drawnPixel(picture, probe.x, probe.y), probe.colour) << probe.x << "," << probe.y;

            // Saved and copied through its own records, whether kept or not.
            QByteArray saved;
            loader.SavePicture(picture, saved);
            EXPECT_EQ(saved, c.bytes);
            PicturePtr copy = loader.LoadPicture(picture, -1);
            ASSERT_TRUE(copy);
            EXPECT_NE(copy, picture);
            EXPECT_EQ(copy->Type(), c.type);
            EXPECT_EQ(copy->image(), picture->image());
            PicturePtr bitmap = loader.LoadPicture(picture, -1, 0, 0, 0, false, 1);
            ASSERT_TRUE(bitmap);
            EXPECT_EQ(bitmap->Type(), 1);
            for (const Probe& probe : c.probes) EXPECT_EQ(drawnPixel(bitmap, probe.x, probe.y), probe.colour);
        }
    }
    // The text is drawn in the text colour inside the red rectangle.
    PicturePtr emf = loader.LoadPicture(emfPicture(), -1);
    int white = 0;
    for (int y = 0; y < 22; ++y)
        for (int x = 0; x < 40; ++x) white += drawnPixel(emf, x, y) == 0xFFFFFFFFu;
    EXPECT_GT(white, 5);

    // A metafile that draws nothing but claims a frame far too large to
    // draw, or none at all, is no picture.
    QByteArray huge = emfPicture();
    writeLe32(huge, 32, 0x7FFFFFF0u);  // the frame's right edge
    EXPECT_FALSE(loader.LoadPicture(huge, -1));
    QByteArray noUnits = wmf;
    writeLe16(noUnits, 14, 0);  // units per inch
    EXPECT_FALSE(loader.LoadPicture(noUnits, -1));
}

TEST(PictureLoaderTest, DamagedFilesGiveNoPictureAndReadNothingOutside) {
    const QList<QByteArray> sound = {
        bmp(3, 2, filled(6, kRed), 24),
        bmp(2, 2, filled(4, kHalfPremultiplied), 32),
        bmp8(3, 2, {qRgb(0, 0, 0), qRgb(0, 0, 255)}, {0, 1, 0, 1, 0, 1}, false),
        bmp8(3, 2, {qRgb(0, 0, 0), qRgb(0, 0, 255)}, {0, 1, 0, 1, 0, 1}, true),
        iconFile({{16, 32, kRed}, {32, 8, kGreen}, {16, 4, kBlue, true}}),
        iconFile({{32, 24, kBlue, false, {4, 4}, true}}, 2),
        emfPicture(),
        emfBlocks(),
        wmfPicture(),
    };
    StdPictureEx loader;
    for (const QByteArray& bytes : sound) {
        ASSERT_TRUE(loader.LoadPicture(bytes, -1));
        // Every truncation: no picture (and no read past the end, which the
        // sanitizer build checks).
        for (qsizetype length = 2; length < bytes.size(); ++length) {
            const QByteArray cut = bytes.left(length);
            EXPECT_FALSE(loader.LoadPicture(cut, -1)) << "length " << length << " of " << bytes.size();
        }
        // Corruptions of single bytes and 32-bit fields: anything but a crash.
        quint32 seed = 12345;
        auto next = [&] { return seed = seed * 1103515245u + 12345u; };
        for (int round = 0; round < 3000; ++round) {
            QByteArray damaged = bytes;
            const int at = static_cast<int>(next() % damaged.size());
            if (round % 2) {
                for (int i = 0; i < 4 && at + i < damaged.size(); ++i) damaged[at + i] = char(next() >> 16);
            } else {
                damaged[at] = char(next() >> 16);
            }
            if (PicturePtr picture = loader.LoadPicture(damaged, -1)) {
                EXPECT_TRUE(picture->hasHandle());
            }
        }
    }
}

TEST(PictureCodecTest, AlphaClassesAndRowSizes) {
    struct Case {
        const char* name;
        QList<quint32> pixels;
        AlphaClass expected;
    };
    const std::vector<Case> cases = {
        {"all opaque", {kRed, kGreen}, AlphaClass::None},
        {"all clear", {0x00000000u, 0x00000000u}, AlphaClass::None},
        {"clear black and opaque", {0, kRed, 0, kBlue}, AlphaClass::TwoLevel},
        {"partial premultiplied", {0x80404040u, kRed}, AlphaClass::Premultiplied},
        {"colour above alpha", {0x80FF0000u}, AlphaClass::Straight},
        {"coloured clear then opaque", {0x00FF0000u, kRed}, AlphaClass::Straight},
        {"coloured clear alone", {0x00FF0000u, 0x00FF0000u}, AlphaClass::None},
        {"partial then coloured clear", {0x80404040u, 0x00FF0000u}, AlphaClass::Straight},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QImage image(static_cast<int>(c.pixels.size()), 1, QImage::Format_ARGB32_Premultiplied);
        for (int x = 0; x < image.width(); ++x) reinterpret_cast<quint32*>(image.scanLine(0))[x] = c.pixels[x];
        EXPECT_EQ(classifyAlpha(image), c.expected);
    }
    EXPECT_EQ(dibByteSize(24, 1), 4);
    EXPECT_EQ(dibByteSize(1, 33), 8);
    EXPECT_EQ(dibByteSize(32, 2, -10), 80);
}

TEST(PictureCodecTest, BmpReaderTakesPixelsFromTheComputedPlace) {
    // The file's own pixel offset is wrong; the reader does not use it.
    QByteArray bytes = bmp(1, 1, {kBlue}, 24);
    bytes[10] = char(200);
    const auto dib = decodeBmpFile(bytes);
    ASSERT_TRUE(dib);
    EXPECT_EQ(dib->pixels.pixel(0, 0), kBlue);

    // A 12-byte core header is left to the plain loader.
    QByteArray core("BM");
    core += QByteArray::fromHex("22000000" "00000000" "1A000000" "0C000000" "01000100" "01001800"
                                "0000FF00");
    EXPECT_FALSE(decodeBmpFile(core));
    StdPictureEx loader;
    PicturePtr picture = loader.LoadPicture(core, -1);
    ASSERT_TRUE(picture);
    EXPECT_EQ(drawnPixel(picture, 0, 0), kRed);
}

TEST(PictureEntryTest, LoadPictureExRaisesWithThePath) {
    QTemporaryDir dir;
    const QString good = writeFile(dir, "face.png", png(solid(4, 2, Qt::red)));
    const QString bad = writeFile(dir, "notes.txt", "no picture here");
    PicturePtr picture = LoadPictureEx(good);
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->width(), 4);
    EXPECT_EQ(picture->height(), 2);

    // Metafiles load at their own size.
    const QString emf = writeFile(dir, "person.emf", emfPicture());
    EXPECT_EQ(LoadPictureEx(emf)->width(), 96);
    EXPECT_EQ(LoadPictureEx(writeFile(dir, "person.wmf", wmfPicture()))->height(), 20);

    // A person's icon file gives its normal-size image.
    const QString icon = writeFile(dir, "person.ico", iconFile({{16, 32, kRed}, {32, 32, kGreen}, {48, 32, kBlue}}));
    EXPECT_EQ(LoadPictureEx(icon)->width(), 32);

    for (const QString& path : {bad, dir.filePath("missing.jpg")}) {
        try {
            LoadPictureEx(path);
            ADD_FAILURE() << "no error for " << path.toStdString();
        } catch (const AppError& error) {
            EXPECT_EQ(error.number, errorNumber(526));
            EXPECT_EQ(error.source, "LoadPictureEx");
            EXPECT_EQ(error.description, "Failed to load image file: " + path);
        }
    }

    // The plain loader: one image, its own errors. The switch is set back
    // however the test ends.
    struct PlainLoading {
        PlainLoading() { bPlainLoadPicture = true; }
        ~PlainLoading() { bPlainLoadPicture = false; }
    } plainLoading;
    const QString gifPath = writeFile(dir, "two.gif", gif(4, 3, {qRgb(255, 0, 0), qRgb(0, 0, 255)}, {10, 10}, 0));
    PicturePtr plain = LoadPictureEx(gifPath);
    EXPECT_EQ(pictureLoader().SubImageCount(plain), 0);
    EXPECT_EQ(drawnPixel(plain, 0, 0), kRed);
    // Metafiles are drawn by the same decoders as in the picture loader.
    const struct {
        QString path;
        int type;
        QSize size;
        QPoint probe;
        quint32 colour;
    } metafiles[] = {
        {emf, 4, {96, 48}, {40, 20}, kRed},
        {writeFile(dir, "plain.wmf", wmfPicture()), 2, {40, 20}, {30, 10}, kBlue},
    };
    for (const auto& m : metafiles) {
        SCOPED_TRACE(m.path.toStdString());
        PicturePtr picture = LoadPictureEx(m.path);
        ASSERT_TRUE(picture);
        EXPECT_EQ(picture->Type(), m.type);
        EXPECT_EQ(QSize(picture->width(), picture->height()), m.size);
        EXPECT_EQ(drawnPixel(picture, m.probe.x(), m.probe.y()), m.colour);
    }
    const QByteArray wholeEmf = emfPicture();
    const QString cutEmf = writeFile(dir, "cut.emf", wholeEmf.left(wholeEmf.size() - 4));
    std::vector<int> numbers;
    for (const QString& path : {bad, dir.filePath("missing.jpg"), cutEmf}) {
        try {
            LoadPictureEx(path);
        } catch (const AppError& error) {
            numbers.push_back(error.number);
        }
    }
    EXPECT_EQ(numbers, std::vector<int>({481, 53, 481}));
    releasePictureLoader();
}

// Receives the addresses the desktop would open.
class UrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;
public Q_SLOTS:
    void open(const QUrl& url) { opened.append(url); }
};

TEST(ShellOpenTest, OpensFilesAndAddressesAndReportsFailures) {
    QTemporaryDir dir;
    const QString chart = writeFile(dir, "chart.html", "<html/>");
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler("file", &catcher, "open");
    QDesktopServices::setUrlHandler("https", &catcher, "open");
    RecordingReporter reporter;

    ShellOpen(chart, reporter);
    ShellOpen("https://example.org/tree.html", reporter);
    ShellOpen(dir.filePath("missing.html"), reporter);

    QDesktopServices::unsetUrlHandler("file");
    QDesktopServices::unsetUrlHandler("https");
    ASSERT_EQ(catcher.opened.size(), 2);
    EXPECT_EQ(catcher.opened[0], QUrl::fromLocalFile(chart));
    EXPECT_EQ(catcher.opened[1], QUrl("https://example.org/tree.html"));
    EXPECT_EQ(reporter.warnings(), QList<QString>{"Error 2 returned by ShellExecute"});
}

}  // namespace

#include "PictureTest.moc"
