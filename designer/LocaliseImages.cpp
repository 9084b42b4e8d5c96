#include "LocaliseImages.h"

#include "foundation/Downloads.h"
#include "foundation/PathHelpers.h"
#include "foundation/Reporter.h"
#include "foundation/TextHelpers.h"
#include "tree_model/SVGTree.h"

void LocaliseImages(const SVGTree& tree, Reporter& reporter) {
    const PlaceKeyClass& places = tree.GetPlaceKeys();
    for (const auto& kv : tree.GetPersons()) {
        const QString image = kv.second->GetImage();
        const int colon = image.indexOf(u':');
        if (!image.startsWith(u'$') || colon < 0) continue;
        const QString key = image.mid(1, colon - 1);
        if (!bValidName(key)) continue;
        // A place key without a local folder would put the copy in whatever
        // folder is current: such images are left alone.
        QString site, folder;
        places.GetPlaces(key, site, folder);
        if (folder.isEmpty()) continue;
        const QString local = places.ExpandURLName(image, true, false);
        const QString remote = places.ExpandURLName(image, false, true);
        if (remote.isEmpty() || local.isEmpty() || bFileExists(localPath(local))) continue;
        DownloadFile(remote, localPath(local));
        reporter.logLine(QStringLiteral("Downloaded ") + remote + QStringLiteral(" to ") + local);
    }
    reporter.logLine(QStringLiteral("Finished creating local copies of remote images"));
}
