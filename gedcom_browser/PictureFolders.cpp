#include "PictureFolders.h"

#include <QHash>

#include "GEDIndiClass.h"
#include "tree_model/PlaceKeyClass.h"

namespace {
const QString kCurrentFolder = QStringLiteral(".\\");
}

QString sRelativeLocation(const QString& sFolder) {
    if (sFolder == kCurrentFolder || sFolder.startsWith(u'/') || sFolder.startsWith(u'\\') || sFolder.contains(u':'))
        return QString();
    return QString(sFolder).replace(u'\\', u'/');
}

QString sGetFolderPart(const QString& sPath, bool& bURL) {
    bURL = sPath.startsWith(QStringLiteral("http://"), Qt::CaseInsensitive) ||
           sPath.startsWith(QStringLiteral("https://"), Qt::CaseInsensitive);
    if (bURL) {
        const int q = sPath.lastIndexOf(u'?');
        const int p = q < 0 ? sPath.lastIndexOf(u'/') : sPath.lastIndexOf(u'/', q);
        // 1-based position below 9: only the scheme's "//" (or none at all).
        if (p + 1 < 9) return QString();
        return sPath.left(p + 1);
    }
    int p = std::max(sPath.lastIndexOf(u'/'), sPath.lastIndexOf(u'\\'));
    if (p < 0) p = sPath.indexOf(u':');
    if (p < 0) return kCurrentFolder;
    return sPath.left(p + 1);
}

void MapImagesToPlaceKeys(const QList<GEDIndiClass>& persons, PlaceKeyClass& placeKeys) {
    // Folder text to key, for locations and for local folders apart.
    QHash<QString, QString> byLocation, byFolder;
    const StringDict& dict = placeKeys.GetDict();
    for (int i = 0; i < dict.count(); ++i) {
        QString location, folder;
        placeKeys.GetPlaces(dict.keyAt(i), location, folder);
        if (!location.isEmpty() && !byLocation.contains(location)) byLocation.insert(location, dict.keyAt(i));
        if (!folder.isEmpty() && !byFolder.contains(folder)) byFolder.insert(folder, dict.keyAt(i));
    }
    auto newKey = [&placeKeys]() {
        for (int n = placeKeys.GetDict().count() + 1;; ++n) {
            const QString key = QStringLiteral("GEDDIR") + QString::number(n);
            if (!placeKeys.Exists(key)) return key;
        }
    };

    for (GEDIndiClass person : persons) {
        const QString img = person.GetImage();
        if (img.isEmpty()) continue;
        person.SetImagePlace(img);
        bool url = false;
        const QString folder = sGetFolderPart(img, url);
        if (folder.isEmpty()) continue;
        QHash<QString, QString>& lookup = url ? byLocation : byFolder;
        QString key = lookup.value(folder);
        if (key.isEmpty()) {
            key = newKey();
            if (url) placeKeys.Define(key, folder, QString());
            else placeKeys.Define(key, sRelativeLocation(folder), folder);
            lookup.insert(folder, key);
        }
        const QString rest = folder == kCurrentFolder && !img.startsWith(kCurrentFolder) ? img : img.mid(folder.size());
        person.SetImagePlace(u'$' + key + u':' + rest);
    }
}

QString sGetImageSpec(const GEDIndiClass& oPer, bool bLoadImages) {
    return bLoadImages ? oPer.GetImagePlace() : QString();
}
