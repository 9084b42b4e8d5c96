#include "GridSelection.h"

#include <algorithm>
#include <utility>
#include <vector>

QString GridSelection::sorted(bool horiz, const std::function<void(const QString&, int&, int&)>& position) const {
    struct Item {
        std::pair<int, int> place;
        QString key;
    };
    std::vector<Item> items;
    items.reserve(size_t(keys_.count()));
    for (int i = 0; i < keys_.count(); ++i) {
        int col = 0, row = 0;
        position(keys_.at(i), col, row);
        items.push_back({horiz ? std::pair{col, row} : std::pair{row, col}, keys_.at(i)});
    }
    std::stable_sort(items.begin(), items.end(), [](const Item& a, const Item& b) { return a.place < b.place; });
    QStringList out;
    out.reserve(qsizetype(items.size()));
    for (const Item& item : items) out.append(item.key);
    return out.join(u',');
}
