// Picture folders of GEDCOM persons as place keys: the folder part of a path
// or URL, and the mapping of a file's pictures onto new and existing keys.
#include <QTemporaryDir>

#include "BrowserTestSupport.h"
#include "GEDDocClass.h"
#include "PictureFolders.h"
#include "tree_model/PlaceKeyClass.h"

TEST(PictureFolders, FolderPartTable) {
    const struct {
        const char* path;
        const char* folder;
        bool url;
    } cases[] = {
        {"C:\\Pics\\a.jpg", "C:\\Pics\\", false},
        {"/home/ann/pics/a.jpg", "/home/ann/pics/", false},
        {"pics/photo.jpg", "pics/", false},
        {"pics\\sub/photo.jpg", "pics\\sub/", false},
        {"photo.jpg", ".\\", false},
        {"C:photo.jpg", "C:", false},
        {"http://example.com/pics/a.jpg", "http://example.com/pics/", true},
        {"HTTPS://example.com/a.jpg", "HTTPS://example.com/", true},
        {"http://example.com/cgi/get?file=a/b.jpg", "http://example.com/cgi/", true},
        {"http://example.com", "", true},
        {"https://a", "", true},
        {"http://x/", "http://x/", true},
        {"https://x/", "https://x/", true},
    };
    for (const auto& c : cases) {
        bool url = !c.url;
        EXPECT_EQ(sGetFolderPart(QString::fromUtf8(c.path), url), QString::fromUtf8(c.folder)) << c.path;
        EXPECT_EQ(url, c.url) << c.path;
    }
}

class PlaceMappingTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    std::shared_ptr<GEDControlClass> control = createGEDControl();
    std::shared_ptr<GEDDocClass> doc;
    PlaceKeyClass keys;

    // Loads a file whose persons P1, P2, ... have these pictures ("" for none).
    QList<GEDIndiClass> load(const QStringList& pictures) {
        QByteArray text = "0 HEAD\n1 CHAR UTF-8\n";
        for (int i = 0; i < pictures.size(); ++i) {
            text += "0 @P" + QByteArray::number(i + 1) + "@ INDI\n1 NAME P" + QByteArray::number(i + 1) + " /X/\n";
            if (!pictures[i].isEmpty()) text += "1 OBJE\n2 FILE " + pictures[i].toUtf8() + "\n3 FORM jpg\n";
        }
        text += "0 TRLR\n";
        const QString path = dir.filePath(QStringLiteral("pictures.ged"));
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("\xEF\xBB\xBF" + text);
        f.close();
        doc = control->LoadGEDCOM(path);
        EXPECT_NE(doc, nullptr);
        return doc ? doc->GetAllPersons() : QList<GEDIndiClass>();
    }
    static QStringList references(const QList<GEDIndiClass>& persons) {
        QStringList out;
        for (const GEDIndiClass& p : persons) out << p.GetImagePlace();
        return out;
    }
    QString stored(const char* key) const { return keys.GetDict().value(QLatin1String(key)); }
};

TEST_F(PlaceMappingTest, FoldersGetOneKeyEachAndReferencesKeepTheRest) {
    const auto persons = load({"/pics/a.jpg", "/pics/b.jpg", "/Pics/c.jpg", "", "photo.jpg", "sub/d.jpg",
                               "http://example.com/img/e.jpg?size=2", "http://example.com", "http://example.com/img/f.jpg"});
    MapImagesToPlaceKeys(persons, keys);
    EXPECT_EQ(references(persons),
              (QStringList{"$GEDDIR1:a.jpg", "$GEDDIR1:b.jpg", "$GEDDIR2:c.jpg", "", "$GEDDIR3:photo.jpg",
                           "$GEDDIR4:d.jpg", "$GEDDIR5:e.jpg?size=2", "http://example.com", "$GEDDIR5:f.jpg"}));
    // Local folders compare exactly: /pics/ and /Pics/ are two folders.
    EXPECT_EQ(keys.GetDict().keys(),
              (QList<QString>{"GEDDIR1", "GEDDIR2", "GEDDIR3", "GEDDIR4", "GEDDIR5"}));
    EXPECT_EQ(stored("GEDDIR1"), QStringLiteral("|/pics/"));
    EXPECT_EQ(stored("GEDDIR3"), QStringLiteral("|.\\"));
    // A relative folder is also where a chart beside the exported tree finds
    // the pictures.
    EXPECT_EQ(stored("GEDDIR4"), QStringLiteral("sub/|sub/"));
    EXPECT_EQ(stored("GEDDIR5"), QStringLiteral("http://example.com/img/|"));
}

TEST_F(PlaceMappingTest, ExistingKeysAreReusedExactlyAndTheFirstOfTwoWins) {
    keys.Define(QStringLiteral("web"), QStringLiteral("http://example.com/img/"), QString());
    keys.Define(QStringLiteral("web2"), QStringLiteral("http://example.com/img/"), QString());
    keys.Define(QStringLiteral("home"), QString(), QStringLiteral("/pics/"));
    keys.Define(QStringLiteral("home2"), QString(), QStringLiteral("/pics/"));
    const auto persons = load({"http://example.com/img/a.jpg", "http://EXAMPLE.com/img/b.jpg", "/pics/c.jpg"});
    MapImagesToPlaceKeys(persons, keys);
    EXPECT_EQ(references(persons), (QStringList{"$web:a.jpg", "$GEDDIR5:b.jpg", "$home:c.jpg"}));
    EXPECT_EQ(stored("GEDDIR5"), QStringLiteral("http://EXAMPLE.com/img/|"));
}

TEST_F(PlaceMappingTest, ANewKeyNeverReplacesAKeyThatStillExists) {
    // Two keys, of which GEDDIR3 would be the next number: the new key takes GEDDIR4.
    keys.Define(QStringLiteral("GEDDIR3"), QString(), QStringLiteral("/old/"));
    keys.Define(QStringLiteral("other"), QString(), QStringLiteral("/other/"));
    const auto persons = load({"/new/a.jpg", "/old/b.jpg", "/newer/c.jpg"});
    MapImagesToPlaceKeys(persons, keys);
    EXPECT_EQ(references(persons), (QStringList{"$GEDDIR4:a.jpg", "$GEDDIR3:b.jpg", "$GEDDIR5:c.jpg"}));
    EXPECT_EQ(stored("GEDDIR3"), QStringLiteral("|/old/"));
}

TEST_F(PlaceMappingTest, ImageSpecIsEmptyWhenImagesAreNotImported) {
    const auto persons = load({"/pics/a.jpg"});
    MapImagesToPlaceKeys(persons, keys);
    EXPECT_EQ(sGetImageSpec(persons[0], true), QStringLiteral("$GEDDIR1:a.jpg"));
    EXPECT_EQ(sGetImageSpec(persons[0], false), QString());
}

TEST_F(SessionTest, KeysMadeForOneFileAreReusedByTheNext) {
    load("browser.ged");
    load("browser.ged");
    EXPECT_EQ(session.placeKeys().GetDict().keys(), QList<QString>{"GEDDIR1"});
}

TEST(RelativeLocationTest, OnlyFoldersRelativeToTheFileGetALocation) {
    const struct {
        const char* folder;
        const char* location;
    } cases[] = {
        {"sub/", "sub/"},
        {"My Pictures\\", "My Pictures/"},
        {"a\\b/c\\", "a/b/c/"},
        {".\\", ""},
        {"/pics/", ""},
        {"\\\\server\\pics\\", ""},
        {"C:\\Pics\\", ""},
        {"C:", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(sRelativeLocation(QString::fromUtf8(c.folder)), QString::fromUtf8(c.location)) << c.folder;
}
