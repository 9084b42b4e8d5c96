#include <gtest/gtest.h>

#include <climits>

#include "GEDTextIndex.h"
#include "QStringPrinting.h"

namespace {

// A text of `count` units, zero units included.
QString units(const char16_t* text, qsizetype count) { return QStringView(text, count).toString(); }

struct Key {
    QString text;
    qint32 value;
};

// Texts that differ only where a hash or a comparison could go wrong: a
// common prefix, a last unit, a trailing zero unit, the length alone, the
// step of four units the hash reads, units past Latin-1, very long texts.
std::vector<Key> awkwardKeys() {
    const QString longText(5000, u'x');
    QString longOther = longText;
    longOther[4999] = u'y';
    QString longFirst = longText;
    longFirst[0] = u'y';
    std::vector<Key> keys = {
        {QString(), 7},
        {QStringLiteral("I"), 1},
        {QStringLiteral("I1"), 2},
        {QStringLiteral("I12"), 3},
        {QStringLiteral("I123"), 4},
        {QStringLiteral("I1234"), 5},
        {QStringLiteral("I12345"), 6},
        {QStringLiteral("I12346"), INT_MAX},
        {QStringLiteral("I21345"), INT_MIN},
        {units(u"I1\u0000", 3), 8},
        {units(u"\u0000", 1), 9},
        {units(u"\u0000\u0000", 2), 10},
        {units(u"\u0000\u0000\u0000\u0000", 4), 11},
        {QStringLiteral("11 MAR 1216"), 12},
        {QStringLiteral("11 MAR 1261"), 13},
        {QStringLiteral("BET 1262 AND 1264"), 14},
        {QStringLiteral("BET 1262 AND 1265"), 15},
        {QString::fromUtf8("Ærø Ĳsselmeer 日本 \xF0\x9F\x98\x80"), 16},
        {QString::fromUtf8("Ærø Ĳsselmeer 日本 \xF0\x9F\x98\x81"), 17},
        {longText, 18},
        {longOther, 19},
        {longFirst, 20},
        {longText.left(4999), 21},
        {QStringLiteral("i12345"), 0},
    };
    return keys;
}

TEST(TextIndex, AwkwardTextsAreKeptApart) {
    const std::vector<Key> keys = awkwardKeys();
    GEDTextIndex index;
    for (std::size_t e = 0; e < keys.size(); ++e) {
        SCOPED_TRACE(keys[e].text.left(40).toStdString());
        EXPECT_FALSE(index.contains(keys[e].text));
        EXPECT_EQ(index.add(keys[e].text, keys[e].value), static_cast<qint32>(e));
    }
    ASSERT_EQ(index.size(), static_cast<qsizetype>(keys.size()));
    for (std::size_t e = 0; e < keys.size(); ++e) {
        SCOPED_TRACE(keys[e].text.left(40).toStdString());
        EXPECT_EQ(index.find(keys[e].text), keys[e].value);
        EXPECT_EQ(index.keyAt(static_cast<qint32>(e)).toString(), keys[e].text);
        // A second add of a text present is refused and changes nothing.
        EXPECT_EQ(index.add(keys[e].text, 99), -1);
        EXPECT_FALSE(index.insert(keys[e].text, 99));
        EXPECT_EQ(index.find(keys[e].text), keys[e].value);
    }
    EXPECT_EQ(index.size(), static_cast<qsizetype>(keys.size()));
    for (const QString& absent : {QStringLiteral("I123456"), QStringLiteral("I2"), units(u"I12\u0000", 4),
                                  QString(5001, u'x'), QStringLiteral("11 MAR 121")})
        EXPECT_EQ(index.find(absent), -1) << absent.left(40).toStdString();
}

TEST(TextIndex, GrowsPastManyDoublingsKeepingEveryTextAndTheOrder) {
    // Without room reserved, with too little and with enough: the table
    // doubles many times, and texts added later move nothing earlier.
    for (const qsizetype reserved : {qsizetype(0), qsizetype(10), qsizetype(60000)}) {
        SCOPED_TRACE(reserved);
        GEDTextIndex index;
        if (reserved) index.reserve(reserved);
        QList<QString> added;
        for (int i = 0; i < 50000; ++i) {
            const QString text = (i % 3 == 0 ? QStringLiteral("F") : QStringLiteral("I")) + QString::number(i * 7);
            added.append(text);
            ASSERT_EQ(index.add(text, i * 2), i);
        }
        ASSERT_EQ(index.size(), 50000);
        for (int i = 0; i < 50000; ++i) {
            ASSERT_EQ(index.find(added[i]), i * 2) << added[i].toStdString();
            ASSERT_EQ(index.keyAt(i), added[i]);
        }
        EXPECT_EQ(index.keys(), added);
        EXPECT_FALSE(index.contains(QStringLiteral("I1")));
        EXPECT_FALSE(index.contains(QStringLiteral("F7")));
    }
}

TEST(TextIndex, CopiesAreIndependentAndAnEmptyIndexFindsNothing) {
    GEDTextIndex empty;
    EXPECT_EQ(empty.find(QString()), -1);
    EXPECT_EQ(empty.find(QStringLiteral("I1")), -1);
    EXPECT_EQ(empty.size(), 0);
    EXPECT_TRUE(empty.keys().isEmpty());

    GEDTextIndex original;
    original.insert(QStringLiteral("I1"), 10);
    original.insert(QStringLiteral("I2"), 20);
    GEDTextIndex copy = original;
    EXPECT_TRUE(copy.insert(QStringLiteral("I3"), 30));
    EXPECT_FALSE(original.contains(QStringLiteral("I3")));
    EXPECT_EQ(copy.find(QStringLiteral("I2")), 20);

    // Assigning an empty index (as a reset does) drops every text; the copy
    // keeps its own.
    original = GEDTextIndex();
    EXPECT_EQ(original.size(), 0);
    EXPECT_EQ(original.find(QStringLiteral("I1")), -1);
    EXPECT_EQ(original.add(QStringLiteral("I2"), 5), 0);
    EXPECT_EQ(copy.keys(), (QList<QString>{QStringLiteral("I1"), QStringLiteral("I2"), QStringLiteral("I3")}));
    EXPECT_EQ(copy.find(QStringLiteral("I1")), 10);
}

TEST(TextIndex, AValueOfMinusOneReadsAsAbsentYetHoldsItsText) {
    GEDTextIndex index;
    EXPECT_EQ(index.add(QStringLiteral("I1"), -1), 0);
    EXPECT_EQ(index.find(QStringLiteral("I1")), -1);
    EXPECT_EQ(index.add(QStringLiteral("I1"), 4), -1);
    EXPECT_EQ(index.keyAt(0), QStringLiteral("I1"));
}

}  // namespace
