// JSON text as the readers of browsers' JSON files parse it: in one buffer with the room past
// its end that the parser reads into, and where it went wrong when it cannot be read.
#pragma once

#include <cstddef>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

namespace lf {

class JsonText {
 public:
  // Room for size bytes of text; what lies past them is zero.
  // Room for size bytes of text, not yet written; what lies past them is zero.
  char* Resize(std::size_t size);
  // Keeps only the first size bytes (no more than there are).
  void Cut(std::size_t size);
  const char* Data() const { return buffer_.get(); }
  std::size_t Size() const { return size_; }

 private:
  // Not a string: a file of hundreds of megabytes is not written over twice.
  std::unique_ptr<char[]> buffer_;
  std::size_t size_ = 0;
};

// A file that is not what its reader takes it for, with the reason (Shift-JIS).
class FormatError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The whole file at path. Throws platform::IoError.
JsonText ReadJsonFile(const std::string& path);

// The message of a read of the bookmark file that failed, with the reason (Shift-JIS).
std::string ReadFailureText(const std::string& path, std::string_view reason);

}  // namespace lf
