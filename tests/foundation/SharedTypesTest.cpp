#include <gtest/gtest.h>

#include "AppError.h"
#include "OrderedDict.h"
#include "RecordingReporter.h"

TEST(AppError, NumbersAreBasePlusOffset) {
    EXPECT_EQ(kErrorBase, -2147221504);
    try {
        raiseError(ErrorOffset::TextFileIO, QStringLiteral("ReadTextFile"), QStringLiteral("cannot open"));
        FAIL() << "no error raised";
    } catch (const AppError& e) {
        EXPECT_EQ(e.number, kErrorBase + 527);
        EXPECT_EQ(e.source, QStringLiteral("ReadTextFile"));
        EXPECT_STREQ(e.what(), "ReadTextFile: cannot open");
    }
}

TEST(OrderedDict, KeepsInsertionOrderThroughReplaceAndRemove) {
    StringDict d;
    d.set("b", "1");
    d.set("a", "2");
    d.set("c", "3");
    d.set("a", "4");  // replaced in place
    EXPECT_FALSE(d.add("b", "x"));
    d.remove("b");
    EXPECT_EQ(d.keys(), (QList<QString>{"a", "c"}));
    EXPECT_EQ(d.value("a"), "4");
    EXPECT_EQ(d.indexOf("c"), 1);
    EXPECT_EQ(d.keyAt(0), "a");
}

TEST(OrderedDict, TextCompareIgnoresCaseAndKeepsFirstSpelling) {
    StringDict text(KeyCompare::Text);
    text.set("InfoPanels", "True");
    EXPECT_TRUE(text.contains("infopanels"));
    text.set("INFOPANELS", "False");
    EXPECT_EQ(text.count(), 1);
    EXPECT_EQ(text.storedKey("infopanels"), "InfoPanels");
    EXPECT_EQ(text.value("infoPanels"), "False");

    StringDict binary;
    binary.set("Key", "1");
    EXPECT_FALSE(binary.contains("key"));
}

TEST(RecordingReporter, AnswersFromItsScript) {
    RecordingReporter r;
    r.answers = {true, false};
    r.logLine("hello", LogColour::Red);
    EXPECT_TRUE(r.warnDiscard("w1"));
    EXPECT_FALSE(r.askYesNo("q"));
    EXPECT_FALSE(r.askYesNo("q2"));  // script empty: default
    ASSERT_EQ(r.entries.size(), 4);
    EXPECT_EQ(r.entries[0].colour, LogColour::Red);
    EXPECT_EQ(r.warnings(), QList<QString>{"w1"});
}
