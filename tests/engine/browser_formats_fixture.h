// What the tests of the browsers' files share: the data folder, a whole entry as one line and
// a read of the bookmark file slot.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "engine/bookmark_control.h"
#include "engine/bookmark_formats.h"
#include "engine/sjis_text.h"
#include "platform/system_info.h"
#include "tests/support/fakes.h"
#include "tests/support/temp_dir.h"

namespace lftest {

using Lines = std::vector<std::string>;

inline const std::filesystem::path kData =
    std::filesystem::path(__FILE__).parent_path().parent_path() / "data";

// An entry as one line: its text and every property it carries, in UTF-8.
inline std::string Line(const lf::Entry& entry) {
  static const char* const kNames[] = {"",        "added",    "modified",  "visited",
                                       "keyword", "tags",     "desc",      "icon",
                                       "iconuri", "root",     "attrs",     "guid",
                                       "extra",   "iconfile", "iconindex", "shortcutfile"};
  std::string line = U(entry);
  for (const auto& [prop, value] : entry.props.All())
    line += std::string(" |") + kNames[static_cast<int>(prop)] + "=" + U(value);
  return line;
}

struct Read {
  Lines lines;
  lf::Report report;
  lftest::RecordingOwner owner;
};

class BrowserFormats : public testing::Test {
 protected:
  void SetUp() override { platform::SetLoginName("taro"); }
  void TearDown() override { platform::SetLoginName(std::nullopt); }

  Read ReadFile(const std::string& path, lf::Order order = lf::Order::Keep) {
    Read r;
    lf::BookmarkList list;
    engine.ListOrder = order;
    r.report = engine.ReadBookmarkFile({r.owner, bar, nullptr, cancel}, path, list, "R");
    for (const lf::Entry& e : list) r.lines.push_back(Line(e));
    return r;
  }

  lf::TBookmarkControl engine;
  lftest::FakeProgressBar bar;
  int cancel = 0;
  lftest::TempDir dir;
};

// An entry with the properties given (UTF-8 values).
inline lf::Entry With(lf::Entry entry, std::vector<std::pair<lf::Prop, std::string>> props) {
  for (const auto& [prop, value] : props) entry.props.Set(prop, S(value));
  return entry;
}

}  // namespace lftest
