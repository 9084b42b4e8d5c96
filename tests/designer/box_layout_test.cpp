#include <gtest/gtest.h>

#include "GridBoxLayout.h"

TEST(GridBoxLayout, WhatShowsByCaptionPictureAndImagePart) {
    // A 100 x 100 box with a border of 2: the inner rectangle is 96 x 96 at (2, 2).
    struct Case {
        bool caption, image;
        double part;
        bool captionShown, pictureShown;
        QRectF captionRect;
        const char* what;
    } cases[] = {
        {false, false, 0.7, false, false, {}, "nothing"},
        {true, false, 0.7, true, false, {2, 2, 96, 96}, "caption alone fills the inside"},
        {false, true, 0.7, false, true, {}, "picture alone"},
        {true, true, 0.5, true, true, {2, 50, 96, 48}, "picture over the caption"},
        {true, true, 1.0, false, true, {}, "ImagePart 1 hides the caption"},
        {true, true, 0.0, true, false, {2, 2, 96, 96}, "ImagePart 0 hides the picture"},
    };
    for (const Case& c : cases) {
        const GridBoxParts p = ArrangeBoxParts(100, 100, 2, c.caption, c.image, c.part, 1.0);
        EXPECT_EQ(p.inner, QRectF(2, 2, 96, 96)) << c.what;
        EXPECT_EQ(p.captionShown, c.captionShown) << c.what;
        EXPECT_EQ(p.pictureShown, c.pictureShown) << c.what;
        if (c.captionShown) {
            EXPECT_EQ(p.caption, c.captionRect) << c.what;
        }
    }
}

TEST(GridBoxLayout, PictureKeepsItsAspect) {
    // Image area 96 x 48 (ImagePart 0.5 of a 96 x 96 inside).
    const GridBoxParts tall = ArrangeBoxParts(100, 100, 2, true, true, 0.5, 2.0);
    EXPECT_EQ(tall.picture, QRectF(2 + 48 - 12, 2, 24, 48)) << "taller: area height, centred across";
    const GridBoxParts wide = ArrangeBoxParts(100, 100, 2, true, true, 0.5, 0.25);
    EXPECT_EQ(wide.picture, QRectF(2, 2, 96, 24)) << "wider: area width, at the top";
    const GridBoxParts none = ArrangeBoxParts(100, 100, 2, false, true, 0.5, 0.0);
    EXPECT_EQ(none.picture.height(), 0) << "no picture loaded: aspect 0";
}

TEST(GridBoxLayout, BorderOutlineCoversTheOuterPixels) {
    struct Case { int width; QRectF outline; QRectF inner; } cases[] = {
        {1, {0, 0, 99, 49}, {1, 1, 98, 48}},
        {4, {2, 2, 96, 46}, {4, 4, 92, 42}},
        {3, {1, 1, 97, 47}, {3, 3, 94, 44}},
    };
    for (const Case& c : cases) {
        const GridBoxParts p = ArrangeBoxParts(100, 50, c.width, true, false, 0.7, 0);
        EXPECT_EQ(p.borderOutline, c.outline) << c.width;
        EXPECT_EQ(p.inner, c.inner) << c.width;
    }
    EXPECT_EQ(ArrangeBoxParts(6, 6, 4, true, false, 0.7, 0).inner.size(), QSizeF(0, 0)) << "never negative";
}
