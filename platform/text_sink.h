// What the text conversions (codepage.h and the engine's) share to stay quick: how much of a
// text needs no conversion at all, found eight bytes at a time, and a writer that puts the
// converted bytes straight into the string that receives them.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace platform {

namespace detail {
inline constexpr std::uint64_t kOnes = 0x0101010101010101ull;
inline constexpr std::uint64_t kHighs = 0x8080808080808080ull;

// Non-zero when one of the eight bytes of the word is c.
inline std::uint64_t Holds(std::uint64_t word, unsigned char c) {
  const std::uint64_t x = word ^ (kOnes * c);
  return (x - kOnes) & ~x & kHighs;
}
}  // namespace detail

// The length of the beginning of the text made of bytes below 0x80 other than kStops: the
// part every conversion copies as it is.
template <char... kStops>
std::size_t PlainLength(std::string_view text) {
  const char* p = text.data();
  const std::size_t n = text.size();
  std::size_t i = 0;
  for (; i + 8 <= n; i += 8) {
    std::uint64_t word;
    std::memcpy(&word, p + i, 8);
    if ((word & detail::kHighs) |
        (std::uint64_t{0} | ... | detail::Holds(word, static_cast<unsigned char>(kStops))))
      break;
  }
  for (; i < n; ++i) {
    const char c = p[i];
    if (static_cast<unsigned char>(c) >= 0x80 || (false || ... || (c == kStops))) break;
  }
  return i;
}

// Appends to a string through a pointer: room is made ahead of each write, and Finish cuts
// the string to what was written.
class TextSink {
 public:
  // About `expected` bytes will be appended.
  TextSink(std::string& text, std::size_t expected) : text_(text), base_(text.size()) {
    text_.resize(base_ + expected + 16);
    at_ = text_.data() + base_;
    end_ = text_.data() + text_.size();
  }
  TextSink(const TextSink&) = delete;
  TextSink& operator=(const TextSink&) = delete;

  void Put(char c) {
    Room(1);
    *at_++ = c;
  }
  void Put(const char* bytes, std::size_t n) {
    Room(n);
    std::memcpy(at_, bytes, n);
    at_ += n;
  }
  // Lets write(char*) put at most `most` bytes and return where it stopped.
  template <typename Write>
  void Put(std::size_t most, Write&& write) {
    Room(most);
    at_ = write(at_);
  }
  // Ends the writing: the string holds what was appended.
  void Finish() { text_.resize(static_cast<std::size_t>(at_ - text_.data())); }
  // Ends it leaving the string as it was.
  void Discard() { text_.resize(base_); }

 private:
  void Room(std::size_t n) {
    if (n > static_cast<std::size_t>(end_ - at_)) Grow(n);
  }
  void Grow(std::size_t n) {
    const std::size_t used = static_cast<std::size_t>(at_ - text_.data());
    text_.resize(std::max(text_.size() * 2, used + n + 64));
    at_ = text_.data() + used;
    end_ = text_.data() + text_.size();
  }

  std::string& text_;
  const std::size_t base_;
  char* at_;
  char* end_;
};

}  // namespace platform
