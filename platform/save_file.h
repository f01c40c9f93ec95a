// The one way the program replaces a file: the new content goes into a file beside it, is
// flushed to the disk, and only then takes the file's place, so that a write that fails
// part-way (a full disk, a file limit) leaves the file and its backup as they were.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "platform/file_system.h"

namespace platform {

// Where written bytes go; Write throws IoError.
class ByteSink {
 public:
  virtual ~ByteSink() = default;
  virtual void Write(std::string_view bytes) = 0;
};

// Collects the bytes in a string.
class StringSink : public ByteSink {
 public:
  void Write(std::string_view bytes) override { text_.append(bytes); }
  const std::string& Text() const { return text_; }

 private:
  std::string text_;
};

// Writes into an open file in large pieces; Flush passes on what is still held.
class FileSink : public ByteSink {
 public:
  explicit FileSink(File& file) : file_(file) {}
  void Write(std::string_view bytes) override;
  void Flush();

 private:
  File& file_;
  std::string buffer_;
};

// Puts a sink of its own in front of the file's sink: the way a test makes a write fail.
using SinkFilter = std::function<std::unique_ptr<ByteSink>(ByteSink&)>;

struct SaveOptions {
  // The name the replaced file is kept under; empty for no backup.
  std::string backupPath;
  SinkFilter filter;  // empty: the bytes go to the file as they are
  // Whether the new file reaches the disk before it takes the old one's place. Off only for
  // files written by the thousand, each rebuilt from the list should a crash cut it off.
  bool sync = true;
};

// The backup of the file to be replaced cannot be made: nothing was changed.
class BackupError : public IoError {
 public:
  using IoError::IoError;
};

// Writes the file at path with what write puts into the sink. With a backup path, a file
// that is there is kept under it, replacing an earlier backup only once the new file is
// complete. Throws IoError with the system's code, or BackupError when the file is there and
// its backup cannot be made; either way the file, its backup and the folder are as before.
void SaveFile(std::string_view path, const std::function<void(ByteSink&)>& write,
              const SaveOptions& options = {});

// Writes a new file where nothing has the name yet (File::Mode::CreateNew) through the
// filter; a file left cut off is removed. Throws IoError.
void WriteNewFile(std::string_view path, std::string_view content, const SinkFilter& filter = {});

}  // namespace platform
