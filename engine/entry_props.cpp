#include "engine/entry_props.h"

#include <cstring>

namespace lf {
namespace {

std::uint32_t ReadSize(const char* at) {
  std::uint32_t n;
  std::memcpy(&n, at, 4);
  return n;
}

void PutSize(std::string& out, std::uint32_t n) {
  char bytes[4];
  std::memcpy(bytes, &n, 4);
  out.append(bytes, 4);
}

// Calls visit(prop, value) for every property of a block.
template <typename Visit>
void ForEachIn(const char* block, Visit&& visit) {
  if (!block) return;
  const std::uint32_t size = ReadSize(block);
  for (std::uint32_t at = 4; at < size;) {
    const Prop prop = static_cast<Prop>(block[at]);
    const std::uint32_t length = ReadSize(block + at + 1);
    visit(prop, std::string_view(block + at + 5, length));
    at += 5 + length;
  }
}

}  // namespace

EntryProps::EntryProps(const EntryProps& other) {
  *this = other;
}

EntryProps& EntryProps::operator=(const EntryProps& other) {
  if (this == &other) return *this;
  if (!other.block_) {
    block_.reset();
    return *this;
  }
  const std::uint32_t size = ReadSize(other.block_.get());
  block_ = std::make_unique<char[]>(size);
  std::memcpy(block_.get(), other.block_.get(), size);
  return *this;
}

std::string_view EntryProps::Get(Prop prop) const {
  std::string_view found;
  ForEachIn(block_.get(), [&](Prop p, std::string_view value) {
    if (p == prop) found = value;
  });
  return found;
}

void EntryProps::Set(Prop prop, std::string_view value) {
  std::string block(4, '\0');
  bool placed = false;
  const auto put = [&block](Prop p, std::string_view v) {
    block.push_back(static_cast<char>(p));
    PutSize(block, static_cast<std::uint32_t>(v.size()));
    block.append(v);
  };
  // Kept in the order of Prop, so that equal properties make equal blocks.
  ForEachIn(block_.get(), [&](Prop p, std::string_view v) {
    if (!placed && p >= prop) {
      if (!value.empty()) put(prop, value);
      placed = true;
    }
    if (p != prop) put(p, v);
  });
  if (!placed && !value.empty()) put(prop, value);
  if (block.size() == 4) {
    block_.reset();
    return;
  }
  const std::uint32_t size = static_cast<std::uint32_t>(block.size());
  std::memcpy(block.data(), &size, 4);
  block_ = std::make_unique<char[]>(size);
  std::memcpy(block_.get(), block.data(), size);
}

EntryProps EntryProps::Of(const std::array<std::string_view, kPropSlots>& values) {
  std::size_t size = 4;
  for (std::size_t p = 1; p < kPropSlots; ++p)
    if (!values[p].empty()) size += 5 + values[p].size();
  EntryProps props;
  if (size == 4) return props;
  props.block_ = std::make_unique<char[]>(size);
  char* out = props.block_.get();
  const auto size32 = static_cast<std::uint32_t>(size);
  std::memcpy(out, &size32, 4);
  out += 4;
  for (std::size_t p = 1; p < kPropSlots; ++p) {
    const std::string_view value = values[p];
    if (value.empty()) continue;
    *out++ = static_cast<char>(p);
    const auto length = static_cast<std::uint32_t>(value.size());
    std::memcpy(out, &length, 4);
    std::memcpy(out + 4, value.data(), value.size());
    out += 4 + value.size();
  }
  return props;
}

std::vector<std::pair<Prop, std::string_view>> EntryProps::All() const {
  std::vector<std::pair<Prop, std::string_view>> all;
  ForEachIn(block_.get(), [&](Prop p, std::string_view v) { all.emplace_back(p, v); });
  return all;
}

bool EntryProps::operator==(const EntryProps& other) const {
  if (!block_ || !other.block_) return !block_ && !other.block_;
  const std::uint32_t size = ReadSize(block_.get());
  return size == ReadSize(other.block_.get()) &&
         std::memcmp(block_.get(), other.block_.get(), size) == 0;
}

std::string JoinAttributes(const std::vector<std::pair<std::string, std::string>>& attributes) {
  std::string joined;
  for (const auto& [name, value] : attributes) {
    PutSize(joined, static_cast<std::uint32_t>(name.size()));
    joined += name;
    PutSize(joined, static_cast<std::uint32_t>(value.size()));
    joined += value;
  }
  return joined;
}

std::vector<std::pair<std::string_view, std::string_view>> SplitAttributes(
    std::string_view joined) {
  std::vector<std::pair<std::string_view, std::string_view>> attributes;
  for (std::size_t at = 0; at + 4 <= joined.size();) {
    const std::uint32_t nameLength = ReadSize(joined.data() + at);
    const std::string_view name = joined.substr(at + 4, nameLength);
    at += 4 + nameLength;
    if (at + 4 > joined.size()) break;
    const std::uint32_t valueLength = ReadSize(joined.data() + at);
    attributes.emplace_back(name, joined.substr(at + 4, valueLength));
    at += 4 + valueLength;
  }
  return attributes;
}

}  // namespace lf
