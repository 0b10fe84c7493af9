#pragma once
// Values taken one after another from a fuzz input; zeros once it runs out.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <type_traits>

class FuzzBytes {
 public:
  FuzzBytes(const uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  bool empty() const { return size_ == 0; }
  std::size_t size() const { return size_; }
  const uint8_t* data() const { return data_; }

  template <typename T>
  T Take() {
    static_assert(std::is_trivially_copyable_v<T>);
    T value{};
    const std::size_t n = std::min(sizeof(T), size_);
    std::memcpy(&value, data_, n);
    data_ += n;
    size_ -= n;
    return value;
  }

 private:
  const uint8_t* data_;
  std::size_t size_;
};
