// The lost-data log: "LostData.txt", listing what reads and writes could not carry, one line
// each: its kind, its whole path as the system names it, and the reason where there is one,
// in UTF-8 with LF line ends (the text of the system's other logs). A run or a page keeps one
// log for what it does and saves it whole whenever something was added.
#pragma once

#include <string>
#include <vector>

#include "engine/report.h"
#include "engine/ui.h"
#include "platform/save_file.h"

namespace lf {

class LostDataLog {
 public:
  // The log in the folder (the program's folder when the folder is empty).
  explicit LostDataLog(std::string folder);

  // Takes the lost items of a step, and what its target could not hold.
  void Add(const Report& report);
  bool Empty() const { return lines_.empty(); }
  std::size_t Size() const { return lines_.size(); }
  const std::vector<std::string>& Lines() const { return lines_; }
  // Where the log is (a program path).
  std::string Path() const;
  // Replaces the log with every line taken so far, making its folder when it is missing; a
  // failure is shown through the owner, naming the log and the system's reason. True once
  // the log holds them.
  bool Save(Owner& owner, const platform::SinkFilter& filter = {});
  // True when a save has gone through.
  bool Saved() const { return saved_; }

 private:
  std::string Folder() const;

  std::string folder_;
  std::vector<std::string> lines_;
  bool saved_ = false;
};

}  // namespace lf
