#include "NotesPreview.h"

#include <QImage>
#include <QUrl>

#include "Downloads.h"

NotesPreview::NotesPreview(QWidget* parent) : QTextBrowser(parent) {
    setOpenLinks(false);
}

QVariant NotesPreview::loadResource(int type, const QUrl& name) {
    if (type != QTextDocument::ImageResource) return QTextBrowser::loadResource(type, name);
    try {
        QString file;
        const QString scheme = name.scheme().toLower();
        if (scheme == u"http" || scheme == u"https")
            file = DownloadFileCache(name.toString());
        else if (name.isLocalFile())
            file = name.toLocalFile();
        else
            file = name.toString(QUrl::PreferLocalFile).replace(u'\\', u'/');
        QImage image(file);
        if (!image.isNull()) return image;
    } catch (...) {
        // A picture that cannot be had is shown as missing.
    }
    return QVariant();
}
