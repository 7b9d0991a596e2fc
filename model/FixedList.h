#pragma once

#include <algorithm>
#include <array>
#include <cstddef>

// A list of at most Capacity records kept in a fixed array with a count.
// Entries 0..Count()-1 are valid and their order is meaningful; entries at and
// above the count may hold stale contents. Removal compacts and keeps order.
template <typename Record, int Capacity>
class FixedList {
public:
    static constexpr int kCapacity = Capacity;

    int Count() const { return count_; }
    bool Empty() const { return count_ == 0; }
    bool Full() const { return count_ >= Capacity; }

    Record& operator[](int index) { return items_[static_cast<std::size_t>(index)]; }
    const Record& operator[](int index) const { return items_[static_cast<std::size_t>(index)]; }

    Record* begin() { return items_.data(); }
    Record* end() { return items_.data() + count_; }
    const Record* begin() const { return items_.data(); }
    const Record* end() const { return items_.data() + count_; }

    // Appends a copy; false (and nothing changed) when the list is full.
    bool Append(const Record& record)
    {
        if (Full()) {
            return false;
        }
        items_[static_cast<std::size_t>(count_++)] = record;
        return true;
    }

    // Empties the list without touching the stored entries.
    void Clear() { count_ = 0; }

    // Keeps the first count entries (fewer than there are).
    void Truncate(int count) { count_ = std::clamp(count, 0, count_); }

    void RemoveAt(int index)
    {
        if (index < 0 || index >= count_ || count_ > Capacity) {
            return;
        }
        std::move(items_.begin() + index + 1, items_.begin() + count_, items_.begin() + index);
        --count_;
    }

    // Removes every entry for which remove(entry) is true, keeping the order.
    template <typename Predicate>
    int RemoveIf(Predicate remove)
    {
        int kept = 0;
        for (int i = 0; i < count_; ++i) {
            if (!remove(items_[static_cast<std::size_t>(i)])) {
                if (kept != i) {
                    items_[static_cast<std::size_t>(kept)] = items_[static_cast<std::size_t>(i)];
                }
                ++kept;
            }
        }
        const int removed = count_ - kept;
        count_ = kept;
        return removed;
    }

private:
    std::array<Record, Capacity> items_{};
    int count_ = 0;
};
