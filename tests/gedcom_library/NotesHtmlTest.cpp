#include <gtest/gtest.h>

#include <QRegularExpression>

#include "GEDNotesHTML.h"
#include "GedFixtures.h"

namespace {

QString q(const char* s) { return QString::fromUtf8(s); }

struct NotesHtml : ::testing::Test {
    GedLoad load;
    std::shared_ptr<GEDDocClass> doc;
    void SetUp() override {
        doc = load.loadFixture(QStringLiteral("notes_html.ged"));
        ASSERT_TRUE(doc);
    }
    GEDIndiClass person(const char* id) const { return GEDIndiClass(doc->GetXrefs().value(QString::fromLatin1(id))); }
    GEDFamClass family(const char* id) const { return GEDFamClass(doc->GetXrefs().value(QString::fromLatin1(id))); }
};

// I1 has one dated event of every kind, in this order, dated «18NN-03-DD».
TEST_F(NotesHtml, EveryEventKindBecomesASpanWithItsKindDescriptionAndTag) {
    struct Kind {
        const char *tag, *description, *kind;
    };
    const Kind kinds[] = {
        {"ANUL", "Annulment event", "ANUL"},     {"CENS", "Census event", "Census"},
        {"DIV", "Divorce event", "DIV"},         {"DIVF", "Divorce files event", "DIVF"},
        {"ENGA", "Engagement event", "ENGA"},    {"MARB", "Marriage banns event", "Marriage"},
        {"MARC", "Marriage contract event", "Marriage"}, {"MARR", "Married", "Marriage"},
        {"MARL", "Marriage license event", "Marriage"},  {"MARS", "Marriage settlement event", "MARS"},
        {"RESI", "Residence event", "RESI"},     {"EVEN", "Generic event", "EVEN"},
        {"CAST", "Cast event", "CAST"},          {"DSCR", "Description event", "DSCR"},
        {"EDUC", "Education event", "EDUC"},     {"IDNO", "Identification no. event", "IDNO"},
        {"NATI", "Nationality event", "NATI"},   {"NCHI", "Children count event", "NCHI"},
        {"NMR", "Marriage count event", "NMR"},  {"OCCU", "Occupation", "OCCU"},
        {"PROP", "Property event", "PROP"},      {"RELI", "Religion event", "RELI"},
        {"SSN", "Social security no. event", "SSN"}, {"TITL", "Title event", "TITL"},
        {"FACT", "Fact or attribute event", "FACT"}, {"BIRT", "Born", "Birth"},
        {"CHR", "Christened", "Baptism"},        {"DEAT", "Died", "Death"},
        {"BURI", "Buried", "Burial"},            {"CREM", "Cremated", "Burial"},
        {"ADOP", "Adoption event", "ADOP"},      {"BAPM", "Baptised", "Baptism"},
        {"BARM", "Bar mitzvah event", "BARM"},   {"BASM", "Bas mitzvah event", "BASM"},
        {"BLES", "Blessing event", "BLES"},      {"CHRA", "Christened", "Baptism"},
        {"CONF", "Confirmation event", "CONF"},  {"FCOM", "First communion event", "FCOM"},
        {"ORDN", "Ordination event", "ORDN"},    {"NATU", "Naturalization event", "NATU"},
        {"EMIG", "Emigration event", "EMIG"},    {"IMMI", "Immigration event", "IMMI"},
        {"PROB", "Probate event", "PROB"},       {"WILL", "Will event", "WILL"},
        {"GRAD", "Graduation event", "GRAD"},    {"RETI", "Retirement event", "RETI"},
    };
    const QStringList elements = person("I1").GetFullNotes().split(q("<br/>\n<br/>\n"));
    ASSERT_EQ(elements.size(), 46);
    for (int i = 0; i < 46; ++i) {
        const Kind& k = kinds[i];
        const QString date = QStringLiteral("%1-03-%2").arg(1801 + i).arg(i % 28 + 1, 2, 10, QLatin1Char('0'));
        const QString open = q("<span data-start='{") + date + q("}' data-evtype='") + q(k.kind) + q("' data-event='") +
                             q(k.description) + q("' data-gtag='") + q(k.tag) + q("'>") + q(k.description) + q(" on ");
        EXPECT_TRUE(elements[i].startsWith(open)) << elements[i].toStdString();
        EXPECT_TRUE(elements[i].endsWith(q(", ") + QString::number(1801 + i) + q(".</span>"))) << elements[i].toStdString();
    }
}

TEST_F(NotesHtml, NoteThenEventsInSpanDivAndPlainForms) {
    // The note escaped; a span for one-line text; payload and TYPE escaped in
    // double-quoted attributes; a div, unescaped, for a multi-line event note
    // and for one holding an end tag; an undated event as plain text with no
    // element; a date phrase escaped inside data-start.
    const QString expected = q(
        "A &amp; B<br/>\n<br/>\n"
        "<span data-start='{1850-03-01}' data-evtype='Birth' data-event='Born' data-gtag='BIRT'>"
        "Born on Friday March 1, 1850 in London.</span><br/>\n<br/>\n"
        "<span data-start='{1870}' data-evtype='EVEN' data-event='Generic event' data-gtag='EVEN'"
        " data-gpayl=\"Sailed on the &apos;Mary &amp; &lt;Jane&gt;&apos;\" data-gtype=\"Voyage &quot;north&quot;\">"
        "Generic event in 1870.</span><br/>\n<br/>\n"
        "<div data-start='{1875}' data-evtype='RESI' data-event='Residence event' data-gtag='RESI'>"
        "Residence event in 1875. First line<br/>\nsecond line</div><br/>\n<br/>\n"
        "<div data-start='{1881}' data-evtype='Census' data-event='Census event' data-gtag='CENS'>"
        "Census event in 1881. Listed as <b>head</b></div><br/>\n<br/>\n"
        "<span data-start='{ABT 1890}' data-evtype='Death' data-event='Died' data-gtag='DEAT'>"
        "Died in about 1890 in Leeds.</span><br/>\n<br/>\n"
        // An undated event keeps its value in its sentence.
        "Occupation: Farmer.<br/>\n<br/>\n"
        "<span data-start='{@#DGREGORIAN@(when &quot;young&quot; &amp; &lt;keen&gt;)}' data-evtype='EDUC'"
        " data-event='Education event' data-gtag='EDUC' data-gpayl=\"Music &amp; &apos;art&apos;\">"
        "Education event in (Date?).</span>");
    EXPECT_EQ(person("I2").GetFullNotes(), expected);
    EXPECT_EQ(family("F1").GetFullNotes(),
              q("Family note<br/>\n<br/>\n<span data-start='{1869-06-02}' data-evtype='Marriage' data-event='Married'"
                " data-gtag='MARR'>Married on Wednesday June 2, 1869 in York.</span>"));
    // A note that already holds mark-up passes unchanged; nothing at all gives "".
    EXPECT_EQ(person("I5").GetFullNotes(), q("Plain <i>note</i> &amp; more"));
    EXPECT_EQ(person("I4").GetFullNotes(), QString());
    EXPECT_EQ(family("F2").GetFullNotes(), q("Unmarried &amp; happy"));
}

TEST_F(NotesHtml, BriefNotes) {
    const std::pair<QString, QString> cases[] = {
        {person("I1").GetBriefNotes(), q("Born on Sunday March 26, 1826.\n\nDied on Friday March 28, 1828.")},
        {person("I2").GetBriefNotes(), q("Born on Friday March 1, 1850 in London.\n\nDied in about 1890 in Leeds.")},
        {person("I3").GetBriefNotes(), q("Died in 1900.")},
        {person("I4").GetBriefNotes(), q("")},
        // Without birth and death: the person's own note, mark-up removed.
        {person("I5").GetBriefNotes(), q("Plain note & more")},
        {family("F1").GetBriefNotes(), q("Married on Wednesday June 2, 1869 in York.")},
        {family("F2").GetBriefNotes(), q("Unmarried & happy")},
    };
    for (const auto& [got, expected] : cases) EXPECT_EQ(got, expected);
}

TEST_F(NotesHtml, AttributesReadBackToTheEventDetails) {
    // A reader that takes each attribute up to its closing quote and decodes
    // it gets back exactly what the file held.
    const QString html = person("I2").GetFullNotes();
    const auto attribute = [&html](const char* pattern, int nth) {
        QRegularExpressionMatchIterator it = QRegularExpression(q(pattern)).globalMatch(html);
        QString value;
        for (int i = 0; i <= nth && it.hasNext(); ++i) value = it.next().captured(1);
        return sDecodeEventAttr(value);
    };
    EXPECT_EQ(attribute("data-gpayl=\"([^\"]*)\"", 0), q("Sailed on the 'Mary & <Jane>'"));
    EXPECT_EQ(attribute("data-gtype=\"([^\"]*)\"", 0), q("Voyage \"north\""));
    EXPECT_EQ(attribute("data-gpayl=\"([^\"]*)\"", 1), q("Music & 'art'"));
    EXPECT_EQ(attribute("data-start='\\{([^']*)\\}'", 5), q("@#DGREGORIAN@(when \"young\" & <keen>)"));

    const char* values[] = {"", "plain", "a'b", "\"q\"", "<b>&</b>", "&amp; stays &amp;", "&lt;", "{1850-03-01}"};
    for (const char* v : values) {
        const QString encoded = sEncodeEventAttr(q(v));
        EXPECT_FALSE(encoded.contains(u'\'') || encoded.contains(u'"') || encoded.contains(u'<')) << v;
        EXPECT_EQ(sDecodeEventAttr(encoded), q(v)) << v;
    }
    EXPECT_EQ(sEncodeEventAttr(q("Tom's & \"Ann\" <x>")), q("Tom&apos;s &amp; &quot;Ann&quot; &lt;x&gt;"));
}

// Notes, event notes and places of a shared file that try to run script in
// a chart keep only the mark-up a note needs; one warning per file says so,
// naming the first record where it was found.
TEST(NotesHtmlFromAHostileFile, KeepOnlyWhatANoteNeedsWithOneWarningPerFile) {
    const char* hostile =
        "0 HEAD\n1 CHAR ASCII\n"
        "0 @I1@ INDI\n1 NAME Eve /Hostile/\n1 NOTE </span><script>alert(1)</script>\n"
        "1 BIRT\n2 DATE 1850\n2 PLAC <b>York</b><svg onload=alert(2)>\n"
        "1 RESI\n2 DATE 1860\n2 NOTE <img src=x onerror=alert(3)><br>\n3 CONT second line\n"
        "1 OCCU\n2 NOTE Smith &amp; <a href=\"javascript:alert(4)\">son</a>\n"
        "0 @I2@ INDI\n1 NAME Ann /Plain/\n1 NOTE <b>bold</b> &amp; <a href='http://example.org'>site</a>\n"
        "0 @F1@ FAM\n1 HUSB @I1@\n1 WIFE @I2@\n1 NOTE <iframe src=x></iframe><br/>\n0 TRLR\n";
    GedLoad load;
    const std::shared_ptr<GEDDocClass> doc = load.loadText(hostile);
    ASSERT_TRUE(doc);
    const auto record = [&doc](const char* id) { return doc->GetXrefs().value(QString::fromLatin1(id)); };
    EXPECT_EQ(GEDIndiClass(record("I1")).GetFullNotes(),
              q("&lt;script&gt;alert(1)&lt;/script&gt;<br/>\n<br/>\n"
                "<div data-start='{1850}' data-evtype='Birth' data-event='Born' data-gtag='BIRT'>"
                "Born in 1850 in <b>York</b>&lt;svg onload=alert(2)&gt;.</div><br/>\n<br/>\n"
                "<div data-start='{1860}' data-evtype='RESI' data-event='Residence event' data-gtag='RESI'>"
                "Residence event in 1860. <img src=\"x\"><br><br/>\nsecond line</div><br/>\n<br/>\n"
                "Occupation. Smith &amp; <a>son</a>"));
    EXPECT_EQ(GEDIndiClass(record("I2")).GetFullNotes(),
              q("<b>bold</b> &amp; <a href=\"http://example.org\">site</a>"));
    EXPECT_EQ(GEDFamClass(record("F1")).GetFullNotes(), q("&lt;iframe src=x&gt;&lt;/iframe&gt;<br>"));
    // Asked again, the notes say nothing more.
    (void)GEDIndiClass(record("I1")).GetFullNotes();
    const QString warning =
        q("Warning, notes in this GEDCOM file hold mark-up that notes do not need, such as scripts, styles, event "
          "handlers or links that are no web or mail addresses; it is shown as text or left out (first in the notes "
          "of @I1@)");
    EXPECT_EQ(load.listener.warnings(), QStringList{warning});
    // Another file has its own warning.
    const std::shared_ptr<GEDDocClass> again = load.loadText(hostile);
    ASSERT_TRUE(again);
    (void)GEDFamClass(again->GetXrefs().value(QStringLiteral("F1"))).GetFullNotes();
    (void)GEDIndiClass(again->GetXrefs().value(QStringLiteral("I1"))).GetFullNotes();
    EXPECT_EQ(load.listener.warnings(), (QStringList{warning, QString(warning).replace(q("@I1@"), q("@F1@"))}));
}

}  // namespace
