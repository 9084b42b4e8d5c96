#pragma once

#include <algorithm>
#include <cstdint>
#include <utility>

// A short list of pointers kept in order, in 16 bytes: a single pointer is
// held in place, more go to the heap. Persons and families carry several such
// lists (the families of a person, the viewpoints holding it) that nearly
// always hold none or one, and the size of a person decides how many fit in
// the processor's caches when a chart walks a large tree.
template <typename P>
class PointerList {
public:
    PointerList() = default;
    PointerList(const PointerList& other) {
        if (other.size_ > 1) {  // one allocation: nothing to leak if it fails
            slot_.many = new P[other.size_];
            capacity_ = other.size_;
        }
        std::copy(other.begin(), other.end(), data());
        size_ = other.size_;
    }
    PointerList(PointerList&& other) noexcept : slot_(other.slot_), size_(other.size_), capacity_(other.capacity_) {
        other.size_ = 0;
        other.capacity_ = 1;
    }
    PointerList& operator=(const PointerList& other) {
        if (this != &other) {
            PointerList copy(other);
            swap(copy);
        }
        return *this;
    }
    PointerList& operator=(PointerList&& other) noexcept {
        PointerList taken(std::move(other));
        swap(taken);
        return *this;
    }
    ~PointerList() {
        if (onHeap()) delete[] slot_.many;
    }

    int size() const { return static_cast<int>(size_); }
    bool isEmpty() const { return size_ == 0; }
    const P* begin() const { return onHeap() ? slot_.many : &slot_.one; }
    const P* end() const { return begin() + size_; }
    P front() const { return *begin(); }
    bool contains(P pointer) const { return std::find(begin(), end(), pointer) != end(); }

    void append(P pointer) {
        if (size_ == capacity_) grow();
        data()[size_++] = pointer;
    }
    // Removes the first occurrence, keeping the order of the rest.
    bool removeOne(P pointer) {
        P* first = data();
        P* last = first + size_;
        P* at = std::find(first, last, pointer);
        if (at == last) return false;
        std::move(at + 1, last, at);
        --size_;
        return true;
    }

private:
    bool onHeap() const { return capacity_ > 1; }
    P* data() { return onHeap() ? slot_.many : &slot_.one; }
    void grow() {
        const std::uint32_t capacity = capacity_ < 4 ? 4 : capacity_ * 2;
        P* grown = new P[capacity];
        std::copy(begin(), end(), grown);
        if (onHeap()) delete[] slot_.many;
        slot_.many = grown;
        capacity_ = capacity;
    }
    void swap(PointerList& other) noexcept {
        std::swap(slot_, other.slot_);  // whichever pointer it holds
        std::swap(size_, other.size_);
        std::swap(capacity_, other.capacity_);
    }

    // One pointer held in place, or the heap array; copied as a whole.
    union Slot {
        P one;
        P* many;
    };
    Slot slot_{nullptr};
    std::uint32_t size_ = 0;
    std::uint32_t capacity_ = 1;  // 1: the pointer is held in place
};
