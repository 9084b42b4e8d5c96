#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

class GEDFamClass;
class GEDIndiClass;

// The tree keys of a GEDCOM document's persons and families. A record's key
// is its cross-reference identifier when that follows the tree's key rule;
// an identifier that does not (such as "1" or "I.1") gets a valid key made
// from it that no other record of the document uses, so that the export and
// the clipboard texts name every record the same way and a tree can take them.
class GEDKeyMap {
public:
    // Works out the keys of all persons and families of a document.
    void build(const QList<GEDIndiClass>& persons, const QList<GEDFamClass>& families);
    void clear();
    // The key of an identifier.
    QString key(const QString& xref) const;
    // "identifier as key" for every identifier that was changed, in document
    // order (persons first); empty when every identifier was a valid key.
    const QStringList& changes() const { return changes_; }
    // The warning that names the changes; "" when there are none.
    QString warningText() const;

private:
    QHash<QString, QString> mapped_;
    QStringList changes_;
};
