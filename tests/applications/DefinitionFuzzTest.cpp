// Broken definition files: cut short and changed copies of good ones are
// loaded (the parser's complaints become warnings, never a failure), and
// every query of the chart run answers over whatever was loaded.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "DefinitionFixtures.h"
#include "DefinitionQueries.h"
#include "InputMutations.h"

namespace {

// Writes the bytes as the one definition file of `dir` and loads that folder.
std::unique_ptr<LoadedDefinitions> loadBytes(const QTemporaryDir& dir, const QByteArray& bytes) {
    QFile f(QDir(dir.path()).filePath(QStringLiteral("ApplicationsServices.xml")));
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    f.close();
    return loadDefinitions(dir.path());
}

QByteArray fixtureBytes(const QString& file) {
    QFile f(file);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << file.toStdString();
    return f.readAll();
}

}  // namespace

TEST(DefinitionFuzz, BrokenDefinitionFilesLoadWithWarnings) {
    const char* const fixtures[] = {"defs/ApplicationsServices.xml", "defs/ApplicationsServices_mods.xml",
                                    "dupes/ApplicationsServices_2.xml"};
    std::uint32_t seed = 515;
    for (const char* name : fixtures) {
        SCOPED_TRACE(name);
        InputMutations mutations(fixtureBytes(fixtureFolder(QString::fromLatin1(name))), seed++);
        mutations.addTokens({"<Modify id=\"Paging\">", "<Application id=\"x\"/>",
                             "<ProgramData id=\"d\" alias-of=\"d\"/>", " alias-of=\"Later\"", "</Applications>", "<![CDATA[", "]]>",
                             "&amp;", "&#0;", "&#xFFFFFFFF;", "<!DOCTYPE a [<!ENTITY e \"&e;&e;\">]>"});
        for (const QByteArray& bytes : mutations.make(30, 120)) {
            QTemporaryDir dir;
            auto loaded = loadBytes(dir, bytes);
            for (const QString& error : askEverything(*loaded->apps, loaded->reporter))
                EXPECT_FALSE(error.isEmpty());
        }
    }
}

namespace {
// A definition file of `count` program-data kinds, each an alias of the next;
// the last one an alias of the first when `closed`, else a kind with an item.
std::unique_ptr<LoadedDefinitions> loadAliasChain(QTemporaryDir& dir, int count, bool closed) {
    QByteArray xml = "<Applications>";
    for (int i = 0; i + 1 < count; ++i)
        xml += "<ProgramData id=\"d" + QByteArray::number(i) + "\" alias-of=\"d" + QByteArray::number(i + 1) + "\"/>";
    const QByteArray last = "d" + QByteArray::number(count - 1);
    xml += closed ? "<ProgramData id=\"" + last + "\" alias-of=\"d0\"/>"
                  : "<ProgramData id=\"" + last + "\" descr=\"End\"><Item tag=\"t\">T</Item></ProgramData>";
    xml += "</Applications>";
    return loadBytes(dir, xml);
}
}  // namespace

// A long ring of aliases is reported once per kind at load, and the kinds'
// queries answer empty, without walking the ring over and over.
TEST(DefinitionFuzz, LongAliasRingLoadsAndAnswersQuickly) {
    QTemporaryDir dir;
    auto loaded = loadAliasChain(dir, 3000, true);
    const QStringList warnings = loaded->reporter.warnings();
    ASSERT_EQ(warnings.size(), 3000);
    // A long chain is shown by its first and last eight kinds.
    auto kinds = [](std::initializer_list<int> numbers) {
        QStringList out;
        for (int n : numbers) out << (n < 0 ? QStringLiteral("...") : QStringLiteral("d%1").arg(n));
        return out.join(QStringLiteral(" -> "));
    };
    const QString place = QStringLiteral("Definition file ApplicationsServices.xml, ProgramData ");
    EXPECT_EQ(warnings[0], place + "d0: the alias-of chain " +
                               kinds({0, 1, 2, 3, 4, 5, 6, 7, -1, 2992, 2993, 2994, 2995, 2996, 2997, 2998, 2999}) +
                               " -> d0 returns to d0");
    EXPECT_EQ(warnings[5], place + "d5: the alias-of chain " +
                               kinds({5, 6, 7, 8, 9, 10, 11, 12, -1, 2997, 2998, 2999, 0, 1, 2, 3, 4}) +
                               " -> d5 returns to d5");
    QStringList ids, descrs, sigs;
    loaded->apps->GetDataList(ids, descrs, sigs);
    EXPECT_EQ(ids.size(), 3000);
    EXPECT_EQ(descrs.join(QString()), QString());
    QString tags, names;
    for (const QString& id : ids) EXPECT_EQ(loaded->apps->GetDataSig(id, tags, names), QString());
}

// A long chain of aliases ends at its last kind, however long it is.
TEST(DefinitionFuzz, LongAliasChainIsFollowedToItsEnd) {
    QTemporaryDir dir;
    auto loaded = loadAliasChain(dir, 50000, false);
    QString tags, names;
    EXPECT_EQ(loaded->apps->GetDataSig(QStringLiteral("d0"), tags, names), QStringLiteral("End"));
    EXPECT_EQ(tags, QStringLiteral("t"));
    QStringList ids, descrs, sigs;
    loaded->apps->GetDataList(ids, descrs, sigs);
    ASSERT_EQ(descrs.size(), 50000);
    EXPECT_EQ(descrs.first(), QStringLiteral("End"));
    EXPECT_EQ(sigs[25000], QStringLiteral("t"));
}

// Random small sets of kinds with aliases, repeated ids, missing names and
// cycles: the load reports, kind by kind, what a plain walk of each chain meets.
TEST(DefinitionFuzz, AliasReportsMatchAPlainWalkOfEachChain) {
    std::uint32_t state = 99;
    auto next = [&](std::uint32_t bound) {
        state = state * 1664525u + 1013904223u;
        return (state >> 8) % bound;
    };
    for (int round = 0; round < 200; ++round) {
        const int count = 1 + int(next(round < 100 ? 12 : 60));
        const std::uint32_t names = round < 100 ? 10 : 50;
        QList<QPair<QString, QString>> kinds;  // id, alias-of
        QByteArray xml = "<Applications>";
        for (int i = 0; i < count; ++i) {
            const QString id = QStringLiteral("k%1").arg(next(names));
            const QString alias = next(8) ? QStringLiteral("k%1").arg(next(names + 2)) : QString();
            kinds.append({id, alias});
            xml += "<ProgramData id=\"" + id.toUtf8() + "\"" +
                   (alias.isEmpty() ? QByteArray() : " alias-of=\"" + alias.toUtf8() + "\"") + "/>";
        }
        xml += "</Applications>";

        QStringList expected;
        auto aliasOf = [&](const QString& id) -> const QString* {
            for (const auto& k : kinds)
                if (k.first == id) return &k.second;
            return nullptr;
        };
        for (const auto& [id, alias] : kinds) {
            QStringList chain{id};
            QString at = alias;
            while (!at.isEmpty()) {
                const QString place = "Definition file ApplicationsServices.xml, ProgramData " + id + ": ";
                if (chain.contains(at)) {
                    // A long chain is shown by its first and last eight kinds.
                    const QStringList shown =
                        chain.size() <= 17 ? chain : chain.first(8) + QStringList{"..."} + chain.last(8);
                    expected << place + "the alias-of chain " + shown.join(" -> ") + " -> " + at + " returns to " + at;
                    break;
                }
                const QString* target = aliasOf(at);
                if (!target) {
                    expected << place + "alias-of names " + at + ", which no definition file defines";
                    break;
                }
                chain << at;
                at = *target;
            }
        }

        QTemporaryDir dir;
        auto loaded = loadBytes(dir, xml);
        EXPECT_EQ(loaded->reporter.warnings(), expected) << xml.toStdString();
    }
}
