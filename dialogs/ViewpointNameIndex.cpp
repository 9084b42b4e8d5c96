#include "ViewpointNameIndex.h"

#include <QStringView>

#include "tree_model/SVGBox.h"

void ViewpointNameIndex::build(const PersonDict& persons) {
    clear();
    if (persons.isEmpty()) return;
    persons_ = &persons;
    texts_.reserve(static_cast<std::size_t>(persons.count()));
    for (const auto& kv : persons) texts_.push_back(kv.second ? kv.second->GetDisplayText() : QString());
}

int ViewpointNameIndex::indexOf(const QString& key) const {
    const int i = persons_ ? persons_->indexOf(key) : -1;
    return i < count() ? i : -1;
}

bool ViewpointNameIndex::update(const SVGBox& person) {
    const int i = indexOf(person.GetKey());
    if (i < 0) return false;
    texts_[static_cast<std::size_t>(i)] = person.GetDisplayText();
    return true;
}

void ViewpointNameIndex::clear() {
    texts_.clear();
    persons_ = nullptr;
}

QStringList ViewpointNameIndex::partialWords(const QString& partialName) {
    if (partialName.isEmpty()) return {};
    return partialName.split(u' ');
}

bool ViewpointNameIndex::bMatchesPartName(const QStringList& partial, const QString& text) {
    if (partial.isEmpty()) return true;
    if (text.isEmpty()) return false;
    qsizetype wanted = 0;
    qsizetype start = 0;
    const qsizetype size = text.size();
    while (start <= size) {
        qsizetype end = text.indexOf(u' ', start);
        if (end < 0) end = size;
        const QStringView word = QStringView(text).mid(start, end - start);
        if (word.startsWith(partial[wanted], Qt::CaseInsensitive) && ++wanted == partial.size()) return true;
        start = end + 1;
    }
    return false;
}

std::vector<bool> ViewpointNameIndex::matches(const QString& partialName) const {
    const QStringList partial = partialWords(partialName);
    std::vector<bool> out(texts_.size());
    for (std::size_t i = 0; i < texts_.size(); ++i) out[i] = bMatchesPartName(partial, texts_[i]);
    return out;
}
