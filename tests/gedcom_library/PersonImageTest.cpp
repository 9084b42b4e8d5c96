#include <gtest/gtest.h>

#include "GEDOtherClass.h"
#include "GedFixtures.h"

namespace {

QString q(const char* s) { return QString::fromUtf8(s); }

GEDIndiClass person(const std::shared_ptr<GEDDocClass>& doc, const char* id) {
    return GEDIndiClass(doc->GetXrefs().value(QString::fromLatin1(id)));
}

TEST(PersonImage, ChoiceInTheFileUnderFileLayout) {
    GedLoad load;
    const auto doc = load.loadFixture(QStringLiteral("images_551.ged"));
    ASSERT_TRUE(doc);
    const std::pair<const char*, const char*> cases[] = {
        {"I1", "a.jpg"},       // FORM and TYPE photo under FILE
        {"I2", "e.jpg"},       // TYPE document skipped; a link without TYPE taken
        {"I3", "f.jpg"},       // MEDI stands in for TYPE
        {"I4", "b.png"},       // an empty FILE skipped; _FILE read
        {"I5", ""},            // no OBJE lines
        {"I6", "c.jpg"},       // a pointer to an OBJE record
        {"I7", "y.tif"},       // tif skipped unless marked primary
        {"I8", "song.wav"},    // a FORM directly under OBJE is not this layout's
        {"I9", "h.jpg"},       // a pointer to no record is passed over
        {"I11", "first.jpg"},  // a later primary link does not displace an earlier one
    };
    for (const auto& [id, image] : cases) EXPECT_EQ(person(doc, id).GetImage(), q(image)) << id;
    EXPECT_EQ(person(doc, "I10").GetImage(),
              q("https://media.genealogy.example/v2/image/namespaces/1093/media/abc-1.jpg?client=Trees&imageQuality=hq"));
}

TEST(PersonImage, ChoiceInTheFormUnderObjectLayout) {
    GedLoad load;
    const auto doc = load.loadFixture(QStringLiteral("images_55.ged"));
    ASSERT_TRUE(doc);
    const std::pair<const char*, const char*> cases[] = {
        {"J1", "b.jpg"},  // FORM tif under OBJE skipped
        {"J2", "p.tif"},  // _PRIM beginning with "y" lets it through
        {"J3", "q.jpg"},  // the FORM under FILE is not read here
        {"J4", "t.jpg"},  // nor a TYPE under FORM
        {"J5", ""},       // ole only
    };
    for (const auto& [id, image] : cases) EXPECT_EQ(person(doc, id).GetImage(), q(image)) << id;
}

TEST(PersonImage, SearchedOnceAndPlaceKeptApart) {
    GedLoad load;
    const auto doc = load.loadFixture(QStringLiteral("images_551.ged"));
    ASSERT_TRUE(doc);
    GEDIndiClass photo = person(doc, "I1");
    GEDIndiClass none = person(doc, "I5");
    EXPECT_EQ(photo.GetImage(), q("a.jpg"));
    EXPECT_EQ(none.GetImage(), QString());
    // The choice is kept: a changed FILE line is not looked at again.
    GEDOtherClass(doc->Query(photo, q("Other:OBJE,Other:FILE"))).SetPayL(q("changed.jpg"));
    EXPECT_EQ(photo.GetImage(), q("a.jpg"));
    EXPECT_EQ(none.GetImage(), QString());

    EXPECT_EQ(photo.GetImagePlace(), QString());
    photo.SetImagePlace(q("$home:a.jpg"));
    EXPECT_EQ(person(doc, "I1").GetImagePlace(), q("$home:a.jpg"));
    EXPECT_EQ(none.GetImagePlace(), QString());
    EXPECT_EQ(photo.GetImage(), q("a.jpg"));
    photo.SetImagePlace(QString());
    EXPECT_EQ(photo.GetImagePlace(), QString());
}

}  // namespace
