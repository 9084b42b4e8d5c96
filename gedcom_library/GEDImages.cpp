// A person's picture: the first OBJE link whose file is marked primary or
// looks like a picture, in the multimedia layouts of GEDCOM 5.5.1 (FORM and
// its media type under FILE) and 5.5 (FORM directly under OBJE).
#include <QList>
#include <QSet>

#include "GEDIndiClass.h"
#include "GEDNoteText.h"
#include "GEDStore.h"

namespace {

// The person's OBJE lines in order, each pointer followed to the record it
// names. A pointer to no record, or a chain of pointers that comes back on
// itself, gives no link: the load has already warned about such pointers.
QList<qint32> mediaLinks(GEDStore* store, qint32 person) {
    QList<qint32> links;
    for (qint32 c = store->node(person).firstChild; c >= 0; c = store->node(c).next) {
        if (store->node(c).kind != GEDKind::Other || store->node(c).tag != GEDTag::OBJE) continue;
        qint32 line = c;
        QSet<qint32> followed;
        while (line >= 0 && GEDStore::isPointer(store->payloadView(line))) {
            const QStringView pointer = store->payloadView(line);
            const qint32 target = store->lookup(pointer.mid(1, pointer.size() - 2).toString());
            line = (target < 0 || followed.contains(target)) ? -1 : target;
            followed.insert(line);
        }
        if (line >= 0) links.append(line);
    }
    return links;
}

QString upperPayload(const GEDStore* store, qint32 line) { return line < 0 ? QString() : store->payload(line).toUpper(); }

}  // namespace

QString GEDIndiClass::GetImage() const {
    if (isNull()) return QString();
    GEDStore::IndiExtra& ind = store_->extraOf(store_->node(node_).ext);
    if (ind.image.isEmpty()) {
        ind.image = QStringLiteral("?");
        const bool layout551 = store_->version() == u"5.5.1";
        for (qint32 link : mediaLinks(store_.get(), node_)) {
            qint32 file = store_->query(link, QStringLiteral("Other:File"));
            if (file < 0) file = store_->query(link, QStringLiteral("Other:_File"));
            if (file < 0) continue;
            const QString fileName = store_->payload(file);
            if (fileName.isEmpty()) continue;
            const QString primary = upperPayload(store_.get(), store_->query(link, QStringLiteral("Other:_PRIM"))).left(1);
            qint32 formLine = -1;
            qint32 typeLine = -1;
            if (layout551) {
                formLine = store_->query(file, QStringLiteral("Other:FORM"));
                if (formLine >= 0) {
                    for (const char* tag : {"Other:TYPE", "Other:MEDI", "Other:_TYPE", "Other:_KEYS"}) {
                        typeLine = store_->query(formLine, QString::fromLatin1(tag));
                        if (typeLine >= 0) break;
                    }
                }
            } else {
                formLine = store_->query(link, QStringLiteral("Other:FORM"));
            }
            const QString form = upperPayload(store_.get(), formLine);
            const QString type = upperPayload(store_.get(), typeLine);
            if (primary != u"Y") {
                if (form == u"TIF" || form == u"OLE" || form == u"WAV") continue;
                if (type != u"PHOTO" && type != u"PICTURE" && !type.isEmpty()) continue;
            }
            ind.image = sCorrectImageURL(fileName);
            break;
        }
    }
    return ind.image == u"?" ? QString() : ind.image;
}
