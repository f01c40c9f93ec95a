// Files and folders named by the program's own paths: Shift-JIS text in which "\" separates
// the components below a root. A path is converted to the native UTF-8 form first and only
// then are its separators mapped, so the byte 0x5C inside a two-byte character (as in "ソ")
// never splits a name. A path beginning with a drive ("C:\...") lands on that drive's folder
// (see system_info.h); a drive without a folder cannot be reached.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// The system's text for an error code (errno), in Shift-JIS.
std::string ErrorText(int code);

// An input/output failure; what() is ErrorText(code()).
class IoError : public std::runtime_error {
 public:
  explicit IoError(int code);
  int code() const { return code_; }

 private:
  int code_;
};

// The native path for a program path: 0, or an error code when it has no native form. A
// character beyond code page 932 is held as its reference in the program's path, and a "\"
// inside a name as "&#92;" (codepage.h); both become the character in the native path.
int ToNativePath(std::string_view path, std::string& native);
// The program's form of a native path, its "/" kept (lossy only for bytes that are no UTF-8).
std::string FromNativePath(std::string_view native);
// The program's form of a native path with "\" between its names, exactly: 0, EILSEQ when a
// name holds bytes that are no UTF-8, or EINVAL for a NUL byte.
int FromNativePathExact(std::string_view native, std::string& path);
// A program path as the user's system names it, in the program's text: the native path ("/"
// between its names on Linux) in Shift-JIS, for messages and windows; the path as it is when
// it has no native form.
std::string ShownPath(std::string_view path);

// True for a name that stands for one item directly inside a folder: not empty, not "." or
// "..", and without a native separator or a NUL byte.
bool IsPlainName(std::string_view name);

struct DirEntry {
  std::string name;          // Shift-JIS, with references (codepage.h)
  bool isDirectory = false;  // a real folder; a symbolic link to one is not
  bool isSymlink = false;    // a symbolic link, whatever it points to
  bool exact = true;         // the name survives the way back to the native name unchanged
};

// All items of a folder, hidden ones included, in the order the file system gives them,
// without "." and "..". Returns 0 or an error code.
int ListDirectory(std::string_view dir, std::vector<DirEntry>& entries);

// Creates one folder (not its parents): 0, EEXIST when it is there already, or an error code.
int MakeDirectory(std::string_view path);
// Makes the folder and those of its parents that are missing, each new one open to its owner
// alone (mode 0700): 0 when the folder is there afterwards, or the error code of the first
// one that could not be made (ENOTDIR where something else than a folder is in the way).
int MakePrivateDirectories(std::string_view path);
int RemoveDirectory(std::string_view path);
int DeleteFile(std::string_view path);
int RenameFile(std::string_view from, std::string_view to);

bool FileExists(std::string_view path);       // something that is not a folder
bool DirectoryExists(std::string_view path);  // a folder (a symbolic link to one counts)
bool PathExists(std::string_view path);       // anything, a dangling symbolic link included
bool IsSymbolicLink(std::string_view path);   // a symbolic link, whatever it points to

// When the file (what a symbolic link points to) was last modified, in seconds since 1970-01-01
// 00:00 UTC: 0 or an error code.
int ModifiedTime(std::string_view path, std::int64_t& seconds);
// Sets the time of last modification of the file itself (a symbolic link is never followed);
// the time of last access stays. 0 or an error code.
int SetModifiedTime(std::string_view path, std::int64_t seconds);

// The path with the suffix appended (and a number before it while that name is taken): a
// name beside the path under which nothing exists yet, for a file that is written first and
// then put in the path's place.
std::string UnusedPathBeside(std::string_view path, std::string_view suffix);

// An open file. Every failure throws IoError.
class File {
 public:
  enum class Mode {
    Read,    // an existing regular file (a folder, pipe or device is refused)
    Create,  // a new, empty file in place of whatever file had the name; a symbolic link
             // there is replaced, never written through
    CreateNew,  // a new file where nothing has the name yet (EEXIST if anything has)
  };

  File() = default;
  File(std::string_view path, Mode mode);
  ~File();
  File(File&& other) noexcept;
  File& operator=(File&& other) noexcept;
  File(const File&) = delete;
  File& operator=(const File&) = delete;

  bool IsOpen() const { return fd_ >= 0; }
  // Up to size bytes; 0 at the end of the file.
  std::size_t Read(char* buffer, std::size_t size);
  void Write(const char* data, std::size_t size);
  void Write(std::string_view data) { Write(data.data(), data.size()); }
  std::int64_t Size() const;
  // Waits until what was written is on the disk.
  void Sync();
  void Close();

 private:
  int fd_ = -1;
};

// The whole content of a file: 0 or an error code.
int ReadWholeFile(std::string_view path, std::string& content);

}  // namespace platform
