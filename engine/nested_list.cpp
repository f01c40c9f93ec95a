#include "engine/nested_list.h"

#include <utility>

#include "engine/bookmark_control.h"
#include "platform/codepage.h"

namespace lf {

namespace {

// A name in the program's text, its line ends and tabs as blanks: a hotlist holds a name on one
// line, and the bookmark file reader reads one broken over lines so too.
std::string NameOf(std::string_view utf8) {
  std::string name = platform::Utf8ToCp932(utf8);
  for (char& c : name)
    if (c == '\n' || c == '\r' || c == '\t') c = ' ';
  return name;
}

// An address in the program's text, without line ends, which are no part of any address.
std::string AddressOf(std::string_view utf8) {
  std::string address = platform::Utf8ToCp932(utf8);
  std::erase_if(address, [](char c) { return c == '\n' || c == '\r'; });
  return address;
}

}  // namespace

NestedListBuilder::NestedListBuilder(const Io& io, BookmarkList& list, Report& report,
                                     const std::string& rootName, Order order)
    : io_(io), list_(list), report_(report), separators_(order == Order::Keep) {
  paths_.push_back(TBookmarkControl::RemoveBackslash(rootName));
}

void NestedListBuilder::OpenFolder(std::string_view name, EntryProps props) {
  if (tooDeep_ > 0 || Level() > kMaxFolderLevel) {
    ++tooDeep_;
    deep_ = true;
    return;
  }
  list_.push_back(MakeFolderEntry(paths_.back(), NameOf(name), Level()));
  list_.back().props = std::move(props);
  ++report_.folders;
  paths_.emplace_back(ViewOf(list_.back()).OwnPath());
}

void NestedListBuilder::CloseFolder() {
  if (tooDeep_ > 0)
    --tooDeep_;
  else if (paths_.size() > 1)
    paths_.pop_back();
}

void NestedListBuilder::AddLink(std::string_view name, std::string_view url, EntryProps props) {
  list_.push_back(MakeLinkEntry(paths_.back(), NameOf(name), Level(), AddressOf(url)));
  list_.back().props = std::move(props);
  ++report_.links;
}

void NestedListBuilder::AddSeparator() {
  separators_.Add(list_, paths_.back(), Level());
}

void NestedListBuilder::Lose(std::string_view name) {
  report_.lost.push_back({"URL Error", paths_.back() + "\\" + NameOf(name), {}});
  ++report_.errors;
}

bool NestedListBuilder::Cancelled() {
  // The bar counts items by the thousand: a step per item would cost a call per link.
  if (++items_ % 1024 == 0) {
    io_.bar.StepIt();
    io_.owner.ProcessMessages();
  }
  return io_.cancel != 0;
}

void NestedListBuilder::Finish(Order order) {
  if (deep_) io_.owner.MessageBox(DeepNestingMessage(), MessageCaption(), kMbOk | kMbIconWarning);
  if (std::string note = separators_.Note(); !note.empty())
    report_.notes.push_back(std::move(note));
  TBookmarkControl::Regroup(list_, order);
  report_.cancelled = io_.cancel != 0;
}

std::string SecondsFromMicros(long long micros) {
  if (micros <= 0) return std::string();
  return std::to_string(micros / 1000000);
}

}  // namespace lf
