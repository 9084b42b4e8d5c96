#pragma once

#include <vector>

#include <QString>
#include <QStringList>

#include "tree_model/TreeTypes.h"

class SVGBox;

// The name index of the viewpoint manager: every person's display text, in
// the order of the tree's persons dictionary (entry i is the i-th person).
// The key index from person key to entry is the dictionary's own: a key's
// entry is its position there. An entry's words are the
// pieces of its text between single blanks, so consecutive blanks give empty
// words and an empty text has no words at all.
class ViewpointNameIndex {
public:
    // Indexes every person of the dictionary afresh; the dictionary must
    // outlive the index or be dropped by clear() or another build().
    void build(const PersonDict& persons);
    // Takes in the new display text of one indexed person; false when the
    // person is not in the index (the caller then rebuilds it).
    bool update(const SVGBox& person);
    void clear();

    int count() const { return static_cast<int>(texts_.size()); }
    bool isEmpty() const { return texts_.empty(); }
    // The display text of entry i: the entry's words joined by single blanks.
    const QString& text(int i) const { return texts_[static_cast<std::size_t>(i)]; }
    // The entry of a person key, -1 when the key is not indexed.
    int indexOf(const QString& key) const;

    // The partial name split into the words that must be matched: none for
    // an empty text, else the pieces between single blanks.
    static QStringList partialWords(const QString& partialName);
    // True when each partial word begins (ignoring case) a distinct word of
    // the text, each later partial word in a later word than the one before.
    // No partial words match every text; a text without words matches only
    // that.
    static bool bMatchesPartName(const QStringList& partial, const QString& text);
    // The match of every entry, in entry order.
    std::vector<bool> matches(const QString& partialName) const;

private:
    // Rebuilt in place: a rebuild of a large tree reuses the memory of the last.
    std::vector<QString> texts_;
    const PersonDict* persons_ = nullptr;
};
