#pragma once

// A first-in first-out queue whose places are kept when their entries leave, so
// that an entry holding strings takes the next one's texts into the room the
// last one left: once it has grown, a steady stream costs no allocation.

#include <cstddef>
#include <vector>

namespace vantrel::publish {

template <typename T>
class ReusedRing {
  public:
    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    T& front() { return places_[first_]; }
    const T& front() const { return places_[first_]; }
    // i from the oldest.
    T& operator[](std::size_t i) { return places_[(first_ + i) % places_.size()]; }
    const T& operator[](std::size_t i) const { return places_[(first_ + i) % places_.size()]; }

    // The place of a new newest entry, holding whatever an earlier one left there.
    T& pushBack() {
        if (size_ == places_.size()) {
            grow();
        }
        ++size_;
        return (*this)[size_ - 1];
    }
    void popFront() {
        first_ = (first_ + 1) % places_.size();
        --size_;
    }
    void clear() {
        first_ = 0;
        size_ = 0;
    }

  private:
    void grow() {
        // Laid out afresh from the oldest, twice as many places.
        std::vector<T> places(places_.empty() ? 16 : places_.size() * 2);
        for (std::size_t i = 0; i < size_; ++i) {
            std::swap(places[i], (*this)[i]);
        }
        places_.swap(places);
        first_ = 0;
    }

    std::vector<T> places_;
    std::size_t first_ = 0;
    std::size_t size_ = 0;
};

}  // namespace vantrel::publish
