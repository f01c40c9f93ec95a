// The bookmark list: Shift-JIS lines, one folder entry or URL entry each (engine/entry.h), all
// beginning with the root path; the folder structure lives in the text of the entries.
#pragma once

#include <string>
#include <vector>

#include "engine/entry.h"

namespace lf {

using BookmarkList = std::vector<Entry>;

// How a list is ordered: by name (as the program always did) or as its source had it.
enum class Order { Sort, Keep };

// A level is one character right after ".dir" or ".url": "0"-"9" for levels 0 to 9, then
// "A"-"Z" for 10 to 35 and "a"-"z" for 36 to 61. Being one character, it keeps every cut of
// five characters (".dir" or ".url" and the level) right at any depth the list can hold.
// Readers file what lies deeper than kMaxLevel in the deepest folder that fits and say so
// once (DeepNestingMessage).
inline constexpr int kMaxLevel = 61;
inline constexpr int kMaxFolderLevel = kMaxLevel - 1;

// The message a reader shows, once per read, when it had to file items of deeper folders in
// a folder at the deepest level (Shift-JIS).
const std::string& DeepNestingMessage();

// The character that stands for a level; levels outside 0 to kMaxLevel are clamped.
constexpr char LevelChar(int level) {
  if (level <= 0) return '0';
  if (level < 10) return static_cast<char>('0' + level);
  if (level < 36) return static_cast<char>('A' + level - 10);
  if (level < kMaxLevel) return static_cast<char>('a' + level - 36);
  return 'z';
}

// The level a character stands for, or -1 for a character that is not a level.
constexpr int LevelValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'Z') return c - 'A' + 10;
  if (c >= 'a' && c <= 'z') return c - 'a' + 36;
  return -1;
}

// The counters of one run, owned by the caller and passed to readers and writers.
struct RunCounters {
  int cancel = 0;  // non-zero stops a reader or writer at its next check
  int nnUrlCount = 0;
  int ieUrlCount = 0;
  int operaUrlCount = 0;
  int errorCount = 0;
};

}  // namespace lf
