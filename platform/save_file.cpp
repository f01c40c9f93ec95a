#include "platform/save_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace platform {
namespace {

constexpr std::size_t kChunk = 1 << 16;

// True for a folder itself at the path; a symbolic link to one is a name a rename replaces.
bool IsFolder(std::string_view path) {
  std::string native;
  if (ToNativePath(path, native)) return false;
  struct stat st;
  return ::lstat(native.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// Fills a file opened in the mode with what write gives; a file left cut off is removed.
void WriteComplete(std::string_view path, File::Mode mode,
                   const std::function<void(ByteSink&)>& write, const SinkFilter& filter,
                   bool sync) {
  File file(path, mode);
  try {
    FileSink sink(file);
    std::unique_ptr<ByteSink> front = filter ? filter(sink) : nullptr;
    write(front ? *front : sink);
    sink.Flush();
    if (sync) file.Sync();
    file.Close();
  } catch (...) {
    file = File();
    DeleteFile(path);
    throw;
  }
}

// A second name for the file at the path, beside the backup: a hard link, or a copy where
// the file system has none. The name is handed back; throws IoError.
std::string SecondName(std::string_view path, std::string_view backupPath) {
  const std::string aside = UnusedPathBeside(backupPath, ".tmp");
  std::string from, to;
  if (int rc = ToNativePath(path, from)) throw IoError(rc);
  if (int rc = ToNativePath(aside, to)) throw IoError(rc);
  // Without AT_SYMLINK_FOLLOW a symbolic link in the file's place is what the backup keeps.
  if (::linkat(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), 0) == 0) return aside;
  const int refused = errno;
  if (refused != EPERM && refused != EXDEV && refused != EMLINK && refused != EOPNOTSUPP &&
      refused != ENOSYS)
    throw IoError(refused);
  std::string content;
  if (int rc = ReadWholeFile(path, content)) throw IoError(rc);
  WriteComplete(
      aside, File::Mode::CreateNew, [&](ByteSink& sink) { sink.Write(content); }, {}, true);
  return aside;
}

}  // namespace

void FileSink::Write(std::string_view bytes) {
  // Large pieces go to the file as they come rather than through the buffer.
  if (buffer_.empty() && bytes.size() >= kChunk) {
    file_.Write(bytes);
    return;
  }
  buffer_.append(bytes);
  if (buffer_.size() >= kChunk) Flush();
}

void FileSink::Flush() {
  if (buffer_.empty()) return;
  file_.Write(buffer_);
  buffer_.clear();
}

void SaveFile(std::string_view path, const std::function<void(ByteSink&)>& write,
              const SaveOptions& options) {
  const std::string& backupPath = options.backupPath;
  const bool backUp = !backupPath.empty() && FileExists(path);
  // Refused before anything is written, as nothing written could be kept.
  if (backUp && backupPath == path) throw BackupError(EEXIST);
  if (backUp && IsFolder(backupPath)) throw BackupError(EISDIR);

  // The file being replaced first gets a second name beside its backup, so that a folder that
  // refuses the backup does so before anything is written; that name replaces the earlier
  // backup only once the new file is in place.
  std::string aside;
  if (backUp) {
    try {
      aside = SecondName(path, backupPath);
    } catch (const IoError& e) {
      throw BackupError(e.code());
    }
  }
  try {
    const std::string temp = UnusedPathBeside(path, ".tmp");
    WriteComplete(temp, File::Mode::CreateNew, write, options.filter, options.sync);
    if (int rc = RenameFile(temp, path)) {
      DeleteFile(temp);
      throw IoError(rc);
    }
  } catch (...) {
    if (backUp) DeleteFile(aside);
    throw;
  }
  if (backUp) {
    if (int rc = RenameFile(aside, backupPath)) {
      // The previous file goes back in its place; should even that fail, it keeps the
      // second name rather than be lost.
      RenameFile(aside, path);
      throw BackupError(rc);
    }
    // A backup that already was another name of the same file leaves the second name there.
    DeleteFile(aside);
  }
}

void WriteNewFile(std::string_view path, std::string_view content, const SinkFilter& filter) {
  // A new file replaces nothing: written without waiting for the disk, a crash can cost only
  // the file itself.
  WriteComplete(
      path, File::Mode::CreateNew, [&](ByteSink& sink) { sink.Write(content); }, filter, false);
}

}  // namespace platform
