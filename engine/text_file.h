// Text files as the program reads and writes them: a line ends at a carriage return (a line
// feed right after it belongs to the line end, a line feed alone is ordinary text) and the
// byte 0x1A ends the input; written lines end with CR LF.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/file_system.h"

namespace lf {

class LineReader {
 public:
  // Opens the file; throws platform::IoError. With lineFeedEnds a line feed alone ends a line
  // as well (for files written with line feeds only).
  explicit LineReader(std::string_view path, bool lineFeedEnds = false);

  // The next line without its end; false at the end of the input. Throws platform::IoError.
  bool ReadLine(std::string& line);
  bool AtEnd();
  std::int64_t Size() const { return file_.Size(); }
  void Close() { file_.Close(); }

 private:
  bool Fill();

  platform::File file_;
  std::string buffer_;
  std::size_t pos_ = 0;
  bool eof_ = false;       // no more bytes in the file, or 0x1A met
  std::string_view ends_;  // the bytes that end a line
};

class LineWriter {
 public:
  // Creates (replaces) the file; throws platform::IoError.
  explicit LineWriter(std::string_view path);
  ~LineWriter();

  // Writes the line and CR LF, a CR or 0x1A inside the line as a blank; throws
  // platform::IoError.
  void WriteLine(std::string_view line);
  // Writes what is buffered and closes the file; throws platform::IoError.
  void Close();

 private:
  void Flush();

  platform::File file_;
  std::string buffer_;
};

}  // namespace lf
