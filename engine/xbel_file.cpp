#include "engine/xbel_file.h"

#include <charconv>
#include <chrono>
#include <pugixml.hpp>

#include "engine/bookmark_control.h"
#include "engine/entry.h"
#include "engine/file_backup.h"
#include "engine/json_text.h"
#include "engine/nested_list.h"
#include "engine/sjis_text.h"
#include "engine/unheld.h"
#include "platform/codepage.h"
#include "platform/file_system.h"
#include "platform/system_info.h"

namespace lf {
namespace {

// Reads a number of up to width digits at text[at], moving at past it; -1 when there is none.
long long Digits(std::string_view text, std::size_t& at, std::size_t width) {
  long long value = 0;
  const std::size_t end = std::min(text.size(), at + width);
  const auto [stop, error] = std::from_chars(text.data() + at, text.data() + end, value);
  if (error != std::errc()) return -1;
  at = stop - text.data();
  return value;
}

bool Skip(std::string_view text, std::size_t& at, char c) {
  if (at >= text.size() || text[at] != c) return false;
  ++at;
  return true;
}

// The attributes the entries hold, which the kept element never holds.
bool KnownAttribute(std::string_view name) {
  for (std::string_view known : {"href", "added", "modified", "visited", "toolbar"})
    if (name == known) return true;
  return false;
}

bool KnownChild(std::string_view name) {
  for (std::string_view known : {"title", "desc", "folder", "bookmark", "separator", "alias"})
    if (name == known) return true;
  return false;
}

// What an item carries: its dates, description, the toolbar mark and what the entries do not
// hold.
EntryProps PropsOf(const pugi::xml_node& item) {
  EntryProps props;
  props.Set(Prop::Added, SecondsFromXbelDate(item.attribute("added").value()));
  props.Set(Prop::Modified, SecondsFromXbelDate(item.attribute("modified").value()));
  props.Set(Prop::Visited, SecondsFromXbelDate(item.attribute("visited").value()));
  props.Set(Prop::Description, platform::Utf8ToCp932(item.child("desc").text().get()));
  if (std::string_view(item.attribute("toolbar").value()) == "yes")
    props.Set(Prop::Root, "toolbar");
  pugi::xml_document kept;  // a document of its own: the item's stays as it is
  pugi::xml_node element = kept.append_child("kept");
  for (const pugi::xml_attribute attribute : item.attributes())
    if (!KnownAttribute(attribute.name())) element.append_copy(attribute);
  for (const pugi::xml_node child : item.children())
    if (child.type() == pugi::node_element && !KnownChild(child.name())) element.append_copy(child);
  if (element.first_attribute() || element.first_child()) {
    struct Text : pugi::xml_writer {
      void write(const void* data, std::size_t size) override {
        text.append(static_cast<const char*>(data), size);
      }
      std::string text;
    } text;
    element.print(text, "", pugi::format_raw);
    props.Set(Prop::Extra, platform::Utf8ToCp932(text.text));
  }
  return props;
}

class Walker {
 public:
  explicit Walker(NestedListBuilder& out) : out_(out) {}

  // The items of a folder (or of the whole file) in their order; false once cancelled.
  bool Items(const pugi::xml_node& folder) {
    for (const pugi::xml_node item : folder.children()) {
      const std::string_view kind = item.name();
      if (kind != "folder" && kind != "bookmark" && kind != "separator") continue;
      if (out_.Cancelled()) return false;
      const char* title = item.child("title").text().get();
      if (kind == "separator") {
        out_.AddSeparator();
      } else if (kind == "bookmark") {
        const pugi::xml_attribute href = item.attribute("href");
        if (href)
          out_.AddLink(title, href.value(), PropsOf(item));
        else
          out_.Lose(title);
      } else {
        out_.OpenFolder(title, PropsOf(item));
        const bool go = Items(item);
        out_.CloseFolder();
        if (!go) return false;
      }
    }
    return true;
  }

 private:
  NestedListBuilder& out_;
};

}  // namespace

std::string SecondsFromXbelDate(std::string_view date) {
  std::size_t at = 0;
  const long long year = Digits(date, at, 19);
  if (year <= 0) return {};
  if (at == date.size()) return std::to_string(year);  // seconds since 1970
  if (at != 4 || !Skip(date, at, '-')) return {};
  const long long month = Digits(date, at, 2);
  if (!Skip(date, at, '-')) return {};
  const long long day = Digits(date, at, 2);
  if (month < 1 || month > 12 || day < 1 || day > 31) return {};
  long long seconds = 0;
  if (Skip(date, at, 'T') || Skip(date, at, ' ')) {
    const long long hour = Digits(date, at, 2);
    if (!Skip(date, at, ':')) return {};
    const long long minute = Digits(date, at, 2);
    long long second = 0;
    if (Skip(date, at, ':')) second = Digits(date, at, 2);
    if (hour < 0 || minute < 0 || second < 0) return {};
    seconds = hour * 3600 + minute * 60 + second;
    if (Skip(date, at, '.') || Skip(date, at, ','))
      while (at < date.size() && date[at] >= '0' && date[at] <= '9') ++at;
    if (at < date.size() && (date[at] == '+' || date[at] == '-')) {
      const long long sign = date[at++] == '+' ? 1 : -1;
      const long long offsetHours = Digits(date, at, 2);
      Skip(date, at, ':');
      const long long offsetMinutes = at < date.size() ? Digits(date, at, 2) : 0;
      if (offsetHours < 0 || offsetMinutes < 0) return {};
      seconds -= sign * (offsetHours * 3600 + offsetMinutes * 60);
    } else {
      Skip(date, at, 'Z');
    }
  }
  if (at != date.size()) return {};
  const long long total = platform::DaysSinceEpoch(static_cast<int>(year), static_cast<int>(month),
                                                   static_cast<int>(day)) *
                              86400 +
                          seconds;
  return total > 0 ? std::to_string(total) : std::string();
}

std::string XbelDateFromSeconds(std::string_view seconds) {
  long long value = 0;
  const auto [end, error] = std::from_chars(seconds.data(), seconds.data() + seconds.size(), value);
  if (error != std::errc() || value <= 0) return {};
  using namespace std::chrono;
  const sys_seconds time{std::chrono::seconds(value)};
  const sys_days days = floor<std::chrono::days>(time);
  const year_month_day date(days);
  const hh_mm_ss clock(time - days);
  char text[40];
  std::snprintf(text, sizeof text, "%04d-%02u-%02uT%02d:%02d:%02dZ", static_cast<int>(date.year()),
                static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
                static_cast<int>(clock.hours().count()), static_cast<int>(clock.minutes().count()),
                static_cast<int>(clock.seconds().count()));
  return text;
}

Report ReadXbelFile(const Io& io, const std::string& path, BookmarkList& list,
                    const std::string& rootName, Order order) {
  Report report;
  try {
    std::string text;
    if (const int code = platform::ReadWholeFile(path, text); code != 0)
      throw platform::IoError(code);
    pugi::xml_document doc;
    const pugi::xml_parse_result parsed = doc.load_buffer_inplace(text.data(), text.size());
    if (!parsed) throw FormatError(parsed.description());
    const pugi::xml_node root = doc.child("xbel");
    if (!root) throw FormatError("no <xbel>");
    NestedListBuilder out(io, list, report, rootName, order);
    Walker(out).Items(root);
    out.Finish(order);
  } catch (const platform::IoError& e) {
    ReportFailure(io, report, ReadFailureText(path, e.what()));
  } catch (const FormatError& e) {
    ReportFailure(io, report, ReadFailureText(path, Sjis("XBEL として読めません: ") + e.what()));
  }
  report.cancelled = io.cancel != 0;
  return report;
}

}  // namespace lf

namespace lf {
namespace {

// The list laid out by the order and levels of its entries.
class XbelLayout {
 public:
  XbelLayout() {
    doc_.append_child(pugi::node_declaration).append_attribute("version") = "1.0";
    doc_.first_child().append_attribute("encoding") = "UTF-8";
    doc_.append_child(pugi::node_doctype).set_value("xbel");
    pugi::xml_node root = doc_.append_child("xbel");
    root.append_attribute("version") = "1.0";
    // The prefixes of the freedesktop and KDE metadata that items read from KDE's files keep.
    root.append_attribute("xmlns:bookmark") =
        "http://www.freedesktop.org/standards/desktop-bookmarks";
    root.append_attribute("xmlns:mime") = "http://www.freedesktop.org/standards/shared-mime-info";
    root.append_attribute("xmlns:kdepriv") = "http://www.kde.org/kdepriv";
    open_.push_back(root);
  }

  void Add(const Entry& entry) {
    const EntryView view = ViewOf(entry);
    const std::size_t level = std::min<std::size_t>(view.level, open_.size() - 1);
    open_.resize(level + 1);
    pugi::xml_node parent = open_.back();
    if (view.IsSeparator()) {
      parent.append_child("separator");
      return;
    }
    const EntryProps& props = entry.props;
    pugi::xml_node item = parent.append_child(view.IsFolder() ? "folder" : "bookmark");
    if (!view.IsFolder()) item.append_attribute("href") = Utf8(view.url).c_str();
    Date(item, "added", props.Get(Prop::Added));
    if (!view.IsFolder()) {
      Date(item, "modified", props.Get(Prop::Modified));
      Date(item, "visited", props.Get(Prop::Visited));
    }
    if (view.IsFolder() && props.Get(Prop::Root) == "toolbar")
      item.append_attribute("toolbar") = "yes";
    pugi::xml_document kept;
    const std::string_view extra = props.Get(Prop::Extra);
    if (extra.substr(0, 5) == "<kept") {
      const std::string text = Utf8(extra);
      if (!kept.load_buffer(text.data(), text.size())) kept.reset();
    }
    const pugi::xml_node from = kept.child("kept");
    for (const pugi::xml_attribute attribute : from.attributes())
      if (!item.attribute(attribute.name())) item.append_copy(attribute);
    item.append_child("title").text() = Utf8(view.name).c_str();
    for (const pugi::xml_node child : from.children()) item.append_copy(child);
    if (props.Has(Prop::Description))
      item.append_child("desc").text() = Utf8(props.Get(Prop::Description)).c_str();
    if (view.IsFolder())
      open_.push_back(item);
    else
      ++links_;
  }

  std::string Text() const {
    struct Text : pugi::xml_writer {
      void write(const void* data, std::size_t size) override {
        text.append(static_cast<const char*>(data), size);
      }
      std::string text;
    } text;
    doc_.save(text, " ", pugi::format_default, pugi::encoding_utf8);
    return std::move(text.text);
  }

  int Links() const { return links_; }

 private:
  static std::string Utf8(std::string_view sjis) { return platform::Cp932ToUtf8(sjis); }

  static void Date(pugi::xml_node& item, const char* name, std::string_view seconds) {
    const std::string date = XbelDateFromSeconds(seconds);
    if (!date.empty()) item.append_attribute(name) = date.c_str();
  }

  pugi::xml_document doc_;
  std::vector<pugi::xml_node> open_;  // by level: the folder open there, the root first
  int links_ = 0;
};

}  // namespace

Report SaveXbelFile(const Io& io, const std::string& path, const BookmarkList& list,
                    const platform::SinkFilter& filter) {
  Report report;
  XbelLayout layout;
  io.bar.SetMax(static_cast<int>(list.size()) - 1);
  io.bar.SetPosition(0);
  io.bar.SetVisible(true);
  for (const Entry& entry : list) {
    io.bar.StepIt();
    layout.Add(entry);
  }
  try {
    const std::string text = layout.Text();
    platform::SaveFile(path, [&](platform::ByteSink& sink) { sink.Write(text); },
                       {BackupPath(path), filter});
    report.links = layout.Links();
    NoteUnheld(report, list,
               kHoldsSeparators | kHoldsDescriptions | kHoldsAdded | kHoldsVisited |
                   kHoldsModified | kHoldsToolbar,
               path);
  } catch (const platform::BackupError& e) {
    ReportFailure(io, report, NoBackupText("ブックマークファイル", path, e.code()));
  } catch (const platform::IoError& e) {
    ReportFailure(io, report, SaveFailureText("ブックマークファイル", path, e.what()));
  }
  io.bar.SetVisible(false);
  return report;
}

}  // namespace lf
