// Broken definition files: cut short and changed copies of good ones are
// loaded (the parser's complaints become warnings, never a failure), and
// every query of the chart run answers over whatever was loaded.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "AppError.h"
#include "DefinitionFixtures.h"
#include "InputMutations.h"

namespace {

// Every entry enabled, then each query a chart run makes.
void queryEverything(const SVGApplications& apps, RecordingReporter& reporter) {
    QStringList ids, names, descrs, sigs;
    QList<bool> valid;
    apps.GetAppList(ids, names, descrs, valid);
    StringDict settings;
    for (const QString& id : ids) {
        settings.set(id, QStringLiteral("True"));
        (void)apps.GetRequiredClicks(id);
    }
    QStringList dataIds;
    apps.GetDataList(dataIds, descrs, sigs);
    for (const QString& id : dataIds) {
        QString tags, itemNames;
        (void)apps.GetDataSig(id, tags, itemNames);
        (void)apps.UsesPlaceKeys(id + QStringLiteral("|x|y"));
    }
    for (bool svg : {false, true}) {
        try {
            StringDict dict = apps.Load(settings);
            apps.UpdateDictWithSrvs(dict, svg, reporter);
            settings.set(QStringLiteral("SVGFile"), svg ? QStringLiteral("True") : QStringLiteral("False"));
            apps.UpdateSettings(dict, settings);
            QString locals;
            (void)apps.GetLocalSettings(dict, locals);
            (void)apps.ScriptFiles(dict, svg);
            (void)apps.StyleFiles(dict, svg);
            (void)apps.PreambleCode(dict, svg);
            (void)apps.PostambleCode(dict, svg);
            for (const char* place : {"click", "TR", "TL", "BR", "BL"})
                (void)apps.HandlerCode(dict, QString::fromLatin1(place), svg);
            (void)apps.AnythingRequireLib(dict, QStringLiteral("support.js"), svg);
            (void)apps.Validate(dict, svg, reporter);
            (void)apps.GetAllRequiredClicks(dict);
            (void)apps.iCountValidApps(dict, svg);
        } catch (const AppError& e) {
            EXPECT_FALSE(e.description.isEmpty());
        }
    }
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
            QFile f(QDir(dir.path()).filePath(QStringLiteral("ApplicationsServices.xml")));
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(bytes);
            f.close();
            auto loaded = loadDefinitions(dir.path());
            queryEverything(*loaded->apps, loaded->reporter);
        }
    }
}
