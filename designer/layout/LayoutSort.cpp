#include "LayoutSort.h"

#include <algorithm>
#include <cstdint>
#include <random>
#include <utility>
#include <vector>

namespace {

// Order of a list built by rotations and appends, as a tree of implicit
// positions (each node's place is the size of what stands left of it).
class RotatingList {
public:
    explicit RotatingList(int capacity) { nodes_.reserve(capacity); }
    int size() const { return sizeOf(root_); }
    void append(int id) {
        nodes_.push_back({id, 0, 0, 1, std::uint32_t(rng_())});
        root_ = merge(root_, int(nodes_.size()));
    }
    // The first k items go to the end, in their order.
    void rotate(int k) {
        if (k <= 0 || k >= size()) return;
        int left = 0, right = 0;
        split(root_, k, left, right);
        root_ = merge(right, left);
    }
    void appendTo(QVector<int>& out) const {
        QVector<int> stack;
        int n = root_;
        while (n || !stack.isEmpty()) {
            while (n) {
                stack.append(n);
                n = node(n).left;
            }
            n = stack.takeLast();
            out.append(node(n).id);
            n = node(n).right;
        }
    }

private:
    struct Node {
        int id, left, right, size;
        std::uint32_t priority;
    };
    Node& node(int n) { return nodes_[n - 1]; }
    const Node& node(int n) const { return nodes_[n - 1]; }
    int sizeOf(int n) const { return n ? node(n).size : 0; }
    void update(int n) { node(n).size = 1 + sizeOf(node(n).left) + sizeOf(node(n).right); }
    int merge(int a, int b) {
        if (!a || !b) return a ? a : b;
        if (node(a).priority > node(b).priority) {
            node(a).right = merge(node(a).right, b);
            update(a);
            return a;
        }
        node(b).left = merge(a, node(b).left);
        update(b);
        return b;
    }
    // The first k items to `left`, the rest to `right`.
    void split(int n, int k, int& left, int& right) {
        if (!n) {
            left = right = 0;
            return;
        }
        if (sizeOf(node(n).left) < k) {
            split(node(n).right, k - sizeOf(node(n).left) - 1, node(n).right, right);
            update(n);
            left = n;
        } else {
            split(node(n).left, k, left, node(n).left);
            update(n);
            right = n;
        }
    }

    std::vector<Node> nodes_;
    int root_ = 0;
    std::minstd_rand rng_{20261210};
};

// Count of marked positions below a position.
class PositionCounter {
public:
    explicit PositionCounter(int n) : tree_(n + 1, 0) {}
    void mark(int pos) {
        for (int i = pos + 1; i < int(tree_.size()); i += i & -i) ++tree_[i];
    }
    int below(int pos) const {
        int sum = 0;
        for (int i = pos; i > 0; i -= i & -i) sum += tree_[i];
        return sum;
    }

private:
    std::vector<int> tree_;
};

}  // namespace

void LayoutSort::ExchangeSort(QVector<qint64>& keys, QVector<int>& ids) {
    const int n = int(keys.size());
    for (int i = 0; i + 1 < n; ++i) {
        qint64 cur = keys[i];
        int curId = ids[i];
        for (int j = i + 1; j < n; ++j) {
            if (cur > keys[j]) {
                std::swap(cur, keys[j]);
                std::swap(curId, ids[j]);
            }
        }
        keys[i] = cur;
        ids[i] = curId;
    }
}

void LayoutSort::sortByYear(QVector<qint64>& years, QVector<int>& ids) {
    if (years.size() <= 64)
        ExchangeSort(years, ids);
    else
        ExchangeSortFast(years, ids);
}

// Pass i of the exchange sort carries the item at i along the chain of
// items that are each smaller than the one before (the running minimum),
// each item of the chain moving to the next one's place and the last, the
// smallest, to place i. Seen from one key v, items with greater keys never
// change the order of the items with key v, so that order follows from the
// items with keys up to v alone. Among those, while an item with a smaller
// key stands first a pass only removes it; while items with key v stand
// first, a pass moves the first of them behind the others that stand
// together with it and takes out the smaller item that follows, joining them
// with the items with key v behind it. So with the items with key v in list
// order and the count of smaller items after each (up to the next item with
// key v), the order is: start with the first, and for each item rotate the
// list by that count and then append the next item.
void LayoutSort::ExchangeSortFast(QVector<qint64>& keys, QVector<int>& ids) {
    const int n = int(keys.size());
    if (n < 2) return;
    QVector<int> order(n);
    for (int i = 0; i < n; ++i) order[i] = i;
    const QVector<qint64>& key = keys;
    std::sort(order.begin(), order.end(),
              [&](int a, int b) { return key[a] != key[b] ? key[a] < key[b] : a < b; });
    PositionCounter smaller(n);
    QVector<int> result;
    result.reserve(n);
    int marked = 0;
    for (int g = 0; g < n;) {
        int end = g + 1;
        while (end < n && key[order[end]] == key[order[g]]) ++end;
        if (end - g == 1) {
            result.append(order[g]);
        } else {
            RotatingList list(end - g);
            for (int k = g; k < end; ++k) {
                list.append(order[k]);
                const int after = k + 1 < end ? smaller.below(order[k + 1]) : marked;
                list.rotate((after - smaller.below(order[k])) % list.size());
            }
            list.appendTo(result);
        }
        for (int k = g; k < end; ++k) smaller.mark(order[k]);
        marked += end - g;
        g = end;
    }
    QVector<qint64> sortedKeys(n);
    QVector<int> sortedIds(n);
    for (int i = 0; i < n; ++i) {
        sortedKeys[i] = keys[result[i]];
        sortedIds[i] = ids[result[i]];
    }
    keys = std::move(sortedKeys);
    ids = std::move(sortedIds);
}
