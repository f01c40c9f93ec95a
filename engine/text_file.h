// Text files as the program reads and writes them: a line ends at CR LF, at a line feed alone
// and at a carriage return alone, whichever system wrote the file; a UTF-8 byte order mark at
// the start is no part of the first line, and the byte 0x1A ends the input. Written lines end
// with CR LF.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/file_system.h"
#include "platform/save_file.h"

namespace lf {

class LineReader {
 public:
  // Opens the file; throws platform::IoError.
  explicit LineReader(std::string_view path);

  // The next line without its end; false at the end of the input. Throws platform::IoError.
  bool ReadLine(std::string& line);
  // The same, with a line longer than most handed over in parts, each but the last ending
  // right after a byte below 0x40, which ends a character in Shift-JIS, EUC-JP and UTF-8
  // alike (a line without one is handed over whole); ended tells whether the line ended.
  bool ReadPart(std::string& part, std::size_t most, bool& ended);
  bool AtEnd();
  std::int64_t Size() const { return file_.Size(); }
  void Close() { file_.Close(); }

 private:
  bool Fill();

  platform::File file_;
  std::string buffer_;
  std::size_t pos_ = 0;
  // Where the next line feed from pos_ on lies (buffer_.size() when there is none), while
  // lineFeedKnown_: a file whose lines end in carriage returns alone is not searched to the
  // end of the buffer for every line.
  std::size_t lineFeed_ = 0;
  bool lineFeedKnown_ = false;
  bool eof_ = false;      // no more bytes in the file, or 0x1A met
  bool started_ = false;  // the start of the file (and its byte order mark) has been read
};

// Writes lines into a sink (platform::SaveFile gives the one of a file), in large pieces:
// Flush passes the rest on.
class LineWriter {
 public:
  explicit LineWriter(platform::ByteSink& sink);

  // Writes the line and CR LF, a CR, LF, 0x1A or NUL inside the line (each would end the line or
  // the file when it is read back) as a blank; throws platform::IoError.
  void WriteLine(std::string_view line);
  // The same for a line that make(std::string&) appends to the string it is given, so that a
  // converted line needs no string of its own.
  template <typename Make>
  void WriteLineWith(Make&& make) {
    const std::size_t start = buffer_.size();
    make(buffer_);
    EndLine(start);
  }
  // Writes text whose lines all end in CR LF already, as it is; throws platform::IoError.
  void WriteLines(std::string_view lines);
  // Passes what is buffered on to the sink; throws platform::IoError.
  void Flush();

 private:
  void EndLine(std::size_t start);

  platform::ByteSink& sink_;
  std::string buffer_;
};

}  // namespace lf
