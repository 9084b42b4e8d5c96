#include "GEDKeyMap.h"

#include <QSet>

#include "GEDFamClass.h"
#include "GEDIndiClass.h"
#include "foundation/TextHelpers.h"

namespace {
// How many changes the warning names before it only counts the rest.
constexpr int kNamedChanges = 10;

// A key made from an identifier: characters the key rule does not allow
// become "_", and a key that would not begin with a letter gets `prefix`.
QString keyFrom(const QString& xref, QChar prefix) { return sMakeValidName(xref, QString(prefix)); }
}  // namespace

void GEDKeyMap::clear() {
    mapped_.clear();
    changes_.clear();
}

void GEDKeyMap::build(const QList<GEDIndiClass>& persons, const QList<GEDFamClass>& families) {
    clear();
    struct Bad {
        QString xref;
        QChar prefix;
    };
    QList<Bad> bad;
    for (const GEDIndiClass& p : persons)
        if (const QString x = p.GetXref(); !bValidName(x)) bad.append({x, u'I'});
    for (const GEDFamClass& f : families)
        if (const QString x = f.GetXref(); !bValidName(x)) bad.append({x, u'F'});
    if (bad.isEmpty()) return;

    // Persons and families share one key space: a new key must differ from
    // every identifier that stays and from every key made before it.
    QSet<QString> used;
    used.reserve(persons.size() + families.size());
    for (const GEDIndiClass& p : persons) used.insert(p.GetXref());
    for (const GEDFamClass& f : families) used.insert(f.GetXref());
    for (const Bad& b : bad) {
        if (mapped_.contains(b.xref)) continue;
        const QString base = keyFrom(b.xref, b.prefix);
        QString key = base;
        for (int n = 2; used.contains(key); ++n) key = base + u'_' + QString::number(n);
        used.insert(key);
        mapped_.insert(b.xref, key);
        changes_ << b.xref + QStringLiteral(" as ") + key;
    }
}

QString GEDKeyMap::key(const QString& xref) const { return mapped_.isEmpty() ? xref : mapped_.value(xref, xref); }

QString GEDKeyMap::warningText() const {
    if (changes_.isEmpty()) return QString();
    QString text = QStringLiteral("Some GEDCOM identifiers are not valid keys and are written with other keys: ") +
                   changes_.mid(0, kNamedChanges).join(QStringLiteral(", "));
    if (changes_.size() > kNamedChanges)
        text += QStringLiteral(" and ") + QString::number(changes_.size() - kNamedChanges) + QStringLiteral(" more");
    return text;
}
