#pragma once

#include <deque>

// Scene items of one kind kept hidden for reuse. A rebuild of the grid shows
// such items again instead of making new ones: the scene needs time in
// proportion to all it holds to remove one item, so removing the items of a
// large grid one by one would take time growing with the square of its size.
// The scene owns the items; `clear` deletes those left over.
template <class Item>
class SpareItems {
public:
    // Hides the item and keeps it.
    void put(Item* item) {
        if (!item) return;
        item->hide();
        items_.push_back(item);
    }
    // A kept item, shown again, or null when none is left. Items come back in
    // the order they were kept, so that a rebuild of an unchanged grid gives
    // each item the place it had, and the scene need not move it.
    Item* take() {
        if (items_.empty()) return nullptr;
        Item* item = items_.front();
        items_.pop_front();
        item->show();
        return item;
    }
    void clear() {
        for (auto it = items_.rbegin(); it != items_.rend(); ++it) delete *it;
        items_.clear();
    }
    bool empty() const { return items_.empty(); }

private:
    std::deque<Item*> items_;
};
