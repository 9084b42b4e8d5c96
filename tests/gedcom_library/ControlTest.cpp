#include <gtest/gtest.h>

#include "GEDControlClass.h"
#include "RecordingListener.h"

namespace {

TEST(Control, VersionIsTheProjectVersion) {
    auto control = createGEDControl();
    const QString expected = QStringLiteral("V%1.%2.%3").arg(KV_VERSION_MAJOR).arg(KV_VERSION_MINOR).arg(KV_VERSION_PATCH);
    EXPECT_EQ(control->GetVersion(), expected);
    EXPECT_FALSE(control->GetVersion().endsWith(QLatin1Char(' ')));
}

TEST(Control, EarliestValidYearDefaultsTo1000AndStoresAnyValue) {
    auto control = createGEDControl();
    EXPECT_EQ(control->GetMinValidDate(), 1000);
    control->SetMinValidDate(0);
    EXPECT_EQ(control->GetMinValidDate(), 0);
    control->SetMinValidDate(-5);
    EXPECT_EQ(control->GetMinValidDate(), -5);
    // Each control has its own value.
    EXPECT_EQ(createGEDControl()->GetMinValidDate(), 1000);
}

TEST(Control, ListenerReceivesMessagesInOrder) {
    auto control = createGEDControl();
    control->ReportMsg(QStringLiteral("nobody listens"), true);  // no listener: nothing happens
    RecordingListener listener;
    control->SetListener(&listener);
    control->SetLineCounter(7);
    control->ReportMsg(QStringLiteral("progress"), false);
    control->sDateGED2SVG(QStringLiteral("1 XYZ 1850"));
    control->sDateGED2SVG(QStringLiteral("15 JAN 1850"));  // converts: no message
    control->sDateGED2SVG(QString());
    ASSERT_EQ(listener.messages.size(), 3);
    EXPECT_EQ(listener.messages[0].text, QStringLiteral("progress"));
    EXPECT_FALSE(listener.messages[0].warning);
    EXPECT_EQ(listener.messages[1].text, QStringLiteral("Bad date syntax: \"1 XYZ 1850\" (record no. 7)"));
    EXPECT_TRUE(listener.messages[1].warning);
    EXPECT_EQ(listener.messages[2].text, QStringLiteral("Empty date (record no. 7)"));
    EXPECT_TRUE(listener.messages[2].warning);
}

TEST(Control, QuitFromInsideTheListenerSetsTheAbandonFlag) {
    auto control = createGEDControl();
    RecordingListener listener;
    listener.reaction = [&control](const RecordingListener::Message& m) {
        if (m.warning)
            control->Quit();
    };
    control->SetListener(&listener);
    control->ReportMsg(QStringLiteral("progress"), false);
    EXPECT_FALSE(control->IsAbandoned());
    // The warning comes from inside a date conversion; the conversion still
    // finishes with its fallback text.
    EXPECT_EQ(control->sDateGED2SVG(QStringLiteral("1 XYZ 1850")), QStringLiteral("@#DGREGORIAN@(1 XYZ 1850)"));
    EXPECT_TRUE(control->IsAbandoned());
    control->ClearAbandon();
    EXPECT_FALSE(control->IsAbandoned());
}

TEST(Control, EventDescriptionsToTags) {
    auto control = createGEDControl();
    const std::pair<const char*, const char*> cases[] = {
        {"Born", "BIRT"},       {"Christened", "CHR"},     {"Married", "MARR"},
        {"Occupation", "OCCU"}, {"Will event", "WILL"},    {"born", "EVEN"},
        {"Unknown event", "EVEN"}, {"", "EVEN"},           {"Generic event", "EVEN"},
    };
    for (const auto& [descr, tag] : cases)
        EXPECT_EQ(control->CvtEventDescrToTag(QString::fromLatin1(descr)), QString::fromLatin1(tag)) << descr;
}

}  // namespace
