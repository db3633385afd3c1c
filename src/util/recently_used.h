// A few values by key, the least recently used one handed back for disposal when a new one
// needs its place: the main window's brushes by colour, for instance, which the colour
// swatches would otherwise make from every colour a user ever picks.
#pragma once

#include <algorithm>
#include <cstddef>
#include <optional>
#include <utility>
#include <vector>

namespace ombrisk {

template <class Key, class Value>
class RecentlyUsed {
 public:
  explicit RecentlyUsed(std::size_t capacity) : capacity_(std::max<std::size_t>(capacity, 1)) {}

  // The value of key, now the most recently used; nothing when none is kept.
  std::optional<Value> use(const Key& key) {
    const auto found = std::find_if(entries_.begin(), entries_.end(), [&](const auto& entry) { return entry.first == key; });
    if (found == entries_.end()) return std::nullopt;
    std::rotate(found, found + 1, entries_.end());
    return entries_.back().second;
  }

  // Keeps value for key (not kept yet) as the most recently used; gives back the least
  // recently used value when that one had to make room.
  std::optional<Value> add(const Key& key, Value value) {
    std::optional<Value> pushedOut;
    if (entries_.size() == capacity_) {
      pushedOut = std::move(entries_.front().second);
      entries_.erase(entries_.begin());
    }
    entries_.emplace_back(key, std::move(value));
    return pushedOut;
  }

  // Every value kept, least recently used first.
  std::vector<Value> values() const {
    std::vector<Value> all;
    for (const auto& entry : entries_) all.push_back(entry.second);
    return all;
  }

 private:
  std::size_t capacity_;
  std::vector<std::pair<Key, Value>> entries_;  // least recently used first
};

}  // namespace ombrisk
