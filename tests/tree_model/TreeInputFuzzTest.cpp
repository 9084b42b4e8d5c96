// Broken tree files and clipboard texts: cut short and changed copies of
// good ones either load or paste, fail with AppError, or are refused with a
// warning; whatever they leave in the tree hangs together.
#include <gtest/gtest.h>

#include "InputMutations.h"
#include "RecordingReporter.h"
#include "SVGTree.h"
#include "TreeFiles.h"
#include "TreeFixture.h"

namespace {

// Every family names persons of the tree, and every family a person names is
// one of the tree's.
void expectConsistent(SVGTree& tree, const QByteArray& input) {
    auto known = [&](const SVGBoxPtr& p) { return !p || tree.GetPersons().value(p->GetKey()) == p; };
    for (const auto& kv : tree.GetFamilies()) {
        const SVGFamily& fam = *kv.second;
        EXPECT_TRUE(known(fam.GetFirstPar()) && known(fam.GetSecPar())) << kv.first << "\n" << input.toStdString();
        for (const SVGBoxPtr& child : fam.GetChildren())
            EXPECT_TRUE(child && known(child)) << kv.first << "\n" << input.toStdString();
    }
    for (const auto& kv : tree.GetPersons())
        for (const QString& fam : kv.second->GetFamSet().split(u',', Qt::SkipEmptyParts))
            EXPECT_TRUE(tree.GetFamilies().contains(fam)) << kv.first << " " << fam << "\n" << input.toStdString();
}

QByteArray fixtureBytes(const QString& name) {
    return TreeFiles::read(QStringLiteral(KV_TEST_DATA_DIR "/trees/") + name);
}

}  // namespace

TEST(TreeInputFuzz, BrokenTreeFilesLoadOrFail) {
    TreeFiles files;
    std::uint32_t seed = 4242;
    for (const char* name : {"TreeRich-utf8.txt", "TreeRich-ansi.txt", "TreeRich-utf16.txt"}) {
        SCOPED_TRACE(name);
        InputMutations mutations(fixtureBytes(QString::fromLatin1(name)), seed++);
        mutations.addTokens({"P a=m(1,1):A\n", "F f=a+a:a,a\n", "V v=V|99999,99999\n", "p hans(99999,1)\n",
                             "f fam1\n", "U img=", "(img=", "$img:", "...", "~", "+", ":,,,"});
        int index = 0, loaded = 0, failed = 0;
        for (const QByteArray& bytes : mutations.make(40, 200)) {
            const QString file = files.write(QStringLiteral("t%1.txt").arg(index++), bytes);
            for (bool verify : {false, true}) {
                SVGTree tree;
                RecordingReporter log;
                try {
                    loadTree(tree, file, log, verify);
                } catch (const AppError& e) {
                    EXPECT_FALSE(e.description.isEmpty()) << bytes.toStdString();
                    ++failed;
                    continue;
                }
                ++loaded;
                expectConsistent(tree, bytes);
            }
        }
        // Both outcomes are reached, so the copies are neither all fatal nor all harmless.
        EXPECT_GT(loaded, 0);
        EXPECT_GT(failed, 0);
    }
}

TEST(TreeInputFuzz, BrokenClipboardTextsPasteOrAreRefused) {
    SVGTree source;
    source.GetPlaceKeys().Define("img", "web/", "C:\\p\\");
    addCouple(source);
    source.GetPersons().value("ann")->SetImage("$img:ann.jpg");
    source.GetPersons().value("ann")->AddNotes("note");
    source.GetFamilies().value("f1")->AddTooltips("tip");
    const QString texts[] = {source.PackNPersons("ann,bob,cat"), source.PackNFamilies("f1"),
                             source.Pack1Family(*source.GetFamilies().value("f1")),
                             source.Pack1Person(*source.GetPersons().value("ann")),
                             source.PackKeys("P", "ann,bob,dan")};
    std::uint32_t seed = 77;
    for (const QString& text : texts) {
        InputMutations mutations(text.toUtf8(), seed++);
        mutations.addTokens({"SVG-P\n", "SVG-F\n", "SVG-NP\n", "SVG-NF\n", "\fSVG-U\n", "\f", "\v", "\r=", "\r#",
                             "ann\n", "f1\n", "99999\n"});
        for (const QByteArray& bytes : mutations.make(30, 150)) {
            const QString data = QString::fromUtf8(bytes);
            for (int kind = 0; kind < 5; ++kind) {
                for (bool asNew : {false, true}) {
                    SVGTree tree;
                    RecordingReporter log;
                    tree.setReporter(&log);
                    if (kind % 2) addCouple(tree);  // pasting over keys already in use
                    try {
                        QString keys, sign;
                        switch (kind) {
                        case 0: tree.Unpack1Person(data, asNew, keys); break;
                        case 1: tree.UnpackNPersons(data, asNew); break;
                        case 2: tree.UnpackFamily(data, asNew, keys); break;
                        case 3: tree.UnpackNFamilies(data, asNew, keys); break;
                        default: tree.UnpackKeys(data, sign); break;
                        }
                    } catch (const AppError& e) {
                        EXPECT_FALSE(e.description.isEmpty()) << bytes.toStdString();
                    }
                    expectConsistent(tree, bytes);
                }
            }
        }
    }
}
