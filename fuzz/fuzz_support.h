// What every fuzz target shares: a quiet owner window, a scratch folder per process (the
// program path lies inside it, so the lost-data log lands there too), a folder tree that
// only counts, and checks that end the run with a readable reason.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "engine/bookmark_list.h"
#include "engine/ui.h"

namespace lffuzz {

// Counts the message boxes instead of showing them; remembers the last text.
class QuietOwner : public lf::Owner {
 public:
  int MessageBox(const std::string& text, const std::string& caption, unsigned flags) override;

  int messages = 0;
  int errors = 0;  // shown with the error icon
  std::string last;
};

// Hands out node numbers and counts them.
class CountingTree : public lf::TreeView {
 public:
  void Clear() override { nodes = 0; }
  Node AddChild(Node, const std::string&, int, int) override { return nodes++; }
  Node Selected() const override { return kNoNode; }
  Node Parent(Node) const override { return kNoNode; }
  int Level(Node) const override { return 0; }
  std::string Caption(Node) const override { return {}; }

  int nodes = 0;
};

// The folder one fuzzing process works in, under /dev/shm when there is one. It lies four
// folders below a folder of its own, so that anything written outside it can be seen.
class Scratch {
 public:
  static Scratch& Get();

  // The program's (Shift-JIS, "\"-separated) path of a name below the scratch folder.
  std::string Path(std::string_view relative = {}) const;
  // The native path of a name below it ("/"-separated).
  std::string Native(std::string_view relative = {}) const;

  void Write(std::string_view relative, std::string_view bytes) const;
  std::string Read(std::string_view relative) const;
  // Removes everything below the scratch folder and makes it empty again.
  void Reset() const;
  // Aborts if anything but the scratch folder was made in the folders above it.
  void CheckNothingOutside() const;

 private:
  Scratch();
  ~Scratch();

  std::string top_;   // made for this process
  std::string base_;  // top_/a/b/c/box
};

// Names of the items directly in a native folder, sorted; empty if it cannot be listed.
std::string ListNames(const std::string& nativeFolder);

// Aborts with the reason (and the text, shown as escaped bytes) when the condition fails.
void Check(bool condition, const char* what, std::string_view detail = {});

// Every entry begins with the root path and "\".
void CheckEntriesUnder(const lf::BookmarkList& list, const std::string& rootPath);

// True if the text holds a level character at position pos.
bool IsLevelChar(std::string_view text, std::size_t pos);

// True if the list is a well-formed tree: every entry's level is the number of folders
// its path names below the root, and the folder it lies in has an entry one level up. The
// writers of the two files lay the folders out by level alone, so only such lists come back
// unchanged (malformed nesting or a missing folder give others).
bool LevelsMatchPaths(const lf::BookmarkList& list, const std::string& rootPath);

}  // namespace lffuzz
