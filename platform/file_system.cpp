#include "platform/file_system.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstring>

#include "platform/codepage.h"
#include "platform/system_info.h"

namespace platform {
namespace {

// Japanese texts (UTF-8 here) for the errors a user meets most; the rest come from the C
// library.
const char* JapaneseErrorText(int code) {
  switch (code) {
    case ENOENT:
      return "指定されたファイルが見つかりません。";
    case ENOTDIR:
      return "指定されたパスが見つかりません。";
    case EACCES:
    case EPERM:
    case EROFS:
      return "アクセスが拒否されました。";
    case ENOSPC:
      return "ディスクに十分な空き領域がありません。";
    case EEXIST:
      return "既に存在するファイルを作成することはできません。";
    case EISDIR:
      return "指定されたパスはフォルダです。";
    case ENODEV:
      return "ファイルではありません（パイプまたはデバイスです）。";
    case EINVAL:
    case EILSEQ:
      return "ファイル名、ディレクトリ名、またはボリューム ラベルの構文が間違っています。";
    case ENAMETOOLONG:
      return "ファイル名が長すぎます。";
    case EFBIG:
      return "ファイルが大きすぎます。";
    case ELOOP:
      return "シンボリック リンクをたどれません。";
    case ENOTEMPTY:
      return "ディレクトリが空ではありません。";
    default:
      return nullptr;
  }
}

int OpenNative(std::string_view path, int flags, std::string& native) {
  if (int rc = ToNativePath(path, native)) {
    errno = rc;
    return -1;
  }
  return ::open(native.c_str(), flags | O_CLOEXEC, 0666);
}

}  // namespace

std::string ErrorText(int code) {
  if (const char* text = JapaneseErrorText(code)) return Utf8ToCp932(text);
  char buffer[256];
  const char* message = strerror_r(code, buffer, sizeof buffer);
  return Utf8ToCp932(message ? message : "error");
}

std::string ShownPath(std::string_view path) {
  std::string native;
  if (ToNativePath(path, native) != 0) return std::string(path);
  return Utf8ToCp932(native);
}

IoError::IoError(int code) : std::runtime_error(ErrorText(code)), code_(code) {}

int ToNativePath(std::string_view path, std::string& native) {
  // The separators are mapped while the text is converted: a "\" inside a name ("&#92;")
  // stays one.
  std::string utf8;
  if (!Cp932ToUtf8Exact(path, utf8, true)) return EILSEQ;
  if (utf8.find('\0') != std::string::npos) return EINVAL;
  if (utf8.size() >= 2 && std::isalpha(static_cast<unsigned char>(utf8[0])) && utf8[1] == ':') {
    std::string root = DriveRoot(utf8[0]);
    if (root.empty()) return ENOENT;
    std::string rest = utf8.substr(2);
    if (!rest.empty() && rest[0] != '/') root += '/';
    utf8 = root + rest;
  }
  native = std::move(utf8);
  return 0;
}

std::string FromNativePath(std::string_view native) {
  std::string path;
  if (!Utf8ToCp932Exact(native, path, true)) return Utf8ToCp932(native);
  // The native separators stay as they are; only a "\" of a name became a reference.
  for (std::size_t i = 0; i < path.size(); ++i) {
    if (IsLeadByte(static_cast<unsigned char>(path[i])))
      ++i;
    else if (path[i] == '\\')
      path[i] = '/';
  }
  return path;
}

int FromNativePathExact(std::string_view native, std::string& path) {
  if (native.find('\0') != std::string_view::npos) return EINVAL;
  // "/" becomes "\", and a "\" inside a name its reference, so it is never a separator.
  std::string sjis;
  if (!Utf8ToCp932Exact(native, sjis, true)) return EILSEQ;
  path = std::move(sjis);
  return 0;
}

bool IsPlainName(std::string_view name) {
  if (name.empty() || name == "." || name == "..") return false;
  for (std::size_t i = 0; i < name.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(name[i]);
    if (c == 0 || c == '/') return false;
    if (IsLeadByte(c)) {
      ++i;  // its second byte may be 0x5C without being a separator
      continue;
    }
    if (c == '\\') return false;
  }
  return true;
}

int ListDirectory(std::string_view dir, std::vector<DirEntry>& entries) {
  std::string native;
  if (int rc = ToNativePath(dir, native)) return rc;
  DIR* d = ::opendir(native.c_str());
  if (!d) return errno;
  int dfd = ::dirfd(d);
  while (true) {
    errno = 0;
    struct dirent* e = ::readdir(d);
    if (!e) break;
    std::string_view name(e->d_name);
    if (name == "." || name == "..") continue;
    DirEntry entry;
    unsigned char type = e->d_type;
    if (type == DT_UNKNOWN) {
      struct stat st;
      if (::fstatat(dfd, e->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0) {
        if (S_ISDIR(st.st_mode))
          type = DT_DIR;
        else if (S_ISLNK(st.st_mode))
          type = DT_LNK;
        else if (S_ISREG(st.st_mode))
          type = DT_REG;
      }
    }
    entry.isDirectory = type == DT_DIR;
    entry.isSymlink = type == DT_LNK;
    // A "\" in the name comes in as its reference; only bytes that are no UTF-8 leave a name
    // that has no exact form.
    if (!Utf8ToCp932Exact(name, entry.name, true)) {
      entry.name = Utf8ToCp932(name);
      entry.exact = false;
    }
    entries.push_back(std::move(entry));
  }
  int rc = errno;
  ::closedir(d);
  return rc;
}

int MakeDirectory(std::string_view path) {
  std::string native;
  if (int rc = ToNativePath(path, native)) return rc;
  return ::mkdir(native.c_str(), 0777) == 0 ? 0 : errno;
}

int MakePrivateDirectories(std::string_view path) {
  std::string native;
  if (int rc = ToNativePath(path, native)) return rc;
  if (native.empty()) return ENOENT;
  // Made step by step, since create_directories would leave the folders above open to all.
  for (std::size_t end = native.find('/', 1);; end = native.find('/', end + 1)) {
    const std::string step = native.substr(0, end);
    struct stat st;
    if (!step.empty() && step.back() != '/') {
      if (::stat(step.c_str(), &st) != 0) {
        if (errno != ENOENT) return errno;
        // Another process may make it at the same moment; what counts is that it is there.
        if (::mkdir(step.c_str(), 0700) != 0 && errno != EEXIST) return errno;
        if (::stat(step.c_str(), &st) != 0) return errno;
      }
      if (!S_ISDIR(st.st_mode)) return ENOTDIR;
    }
    if (end == std::string::npos) return 0;
  }
}

int RemoveDirectory(std::string_view path) {
  std::string native;
  if (int rc = ToNativePath(path, native)) return rc;
  return ::rmdir(native.c_str()) == 0 ? 0 : errno;
}

int DeleteFile(std::string_view path) {
  std::string native;
  if (int rc = ToNativePath(path, native)) return rc;
  struct stat st;
  if (::lstat(native.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) return EISDIR;
  return ::unlink(native.c_str()) == 0 ? 0 : errno;
}

int RenameFile(std::string_view from, std::string_view to) {
  std::string a, b;
  if (int rc = ToNativePath(from, a)) return rc;
  if (int rc = ToNativePath(to, b)) return rc;
  return ::rename(a.c_str(), b.c_str()) == 0 ? 0 : errno;
}

bool FileExists(std::string_view path) {
  std::string native;
  if (ToNativePath(path, native)) return false;
  struct stat st;
  return ::stat(native.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool DirectoryExists(std::string_view path) {
  std::string native;
  if (ToNativePath(path, native)) return false;
  struct stat st;
  return ::stat(native.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool PathExists(std::string_view path) {
  std::string native;
  if (ToNativePath(path, native)) return false;
  struct stat st;
  return ::lstat(native.c_str(), &st) == 0;
}

bool IsSymbolicLink(std::string_view path) {
  std::string native;
  if (ToNativePath(path, native)) return false;
  struct stat st;
  return ::lstat(native.c_str(), &st) == 0 && S_ISLNK(st.st_mode);
}

int ModifiedTime(std::string_view path, std::int64_t& seconds) {
  std::string native;
  if (int rc = ToNativePath(path, native)) return rc;
  struct stat st;
  if (::stat(native.c_str(), &st) != 0) return errno;
  seconds = static_cast<std::int64_t>(st.st_mtim.tv_sec);
  return 0;
}

int SetModifiedTime(std::string_view path, std::int64_t seconds) {
  std::string native;
  if (int rc = ToNativePath(path, native)) return rc;
  struct timespec times[2];
  times[0].tv_sec = 0;
  times[0].tv_nsec = UTIME_OMIT;
  times[1].tv_sec = static_cast<time_t>(seconds);
  times[1].tv_nsec = 0;
  return ::utimensat(AT_FDCWD, native.c_str(), times, AT_SYMLINK_NOFOLLOW) == 0 ? 0 : errno;
}

std::string UnusedPathBeside(std::string_view path, std::string_view suffix) {
  std::string candidate = std::string(path) + std::string(suffix);
  for (int n = 1; PathExists(candidate); ++n)
    candidate = std::string(path) + "." + std::to_string(n) + std::string(suffix);
  return candidate;
}

File::File(std::string_view path, Mode mode) {
  std::string native;
  if (mode == Mode::Read) {
    // Opened without waiting, so that a pipe or a device with the file's name cannot block
    // the program; only regular files are read.
    fd_ = OpenNative(path, O_RDONLY | O_NONBLOCK | O_NOCTTY, native);
    if (fd_ < 0) throw IoError(errno);
    struct stat st;
    int refused = 0;
    if (::fstat(fd_, &st) != 0)
      refused = errno;
    else if (S_ISDIR(st.st_mode))
      refused = EISDIR;
    else if (!S_ISREG(st.st_mode))
      refused = ENODEV;
    // A regular file reads the same with O_NONBLOCK as without: the flag stays.
    if (refused) {
      ::close(fd_);
      fd_ = -1;
      throw IoError(refused);
    }
    return;
  }
  if (mode == Mode::CreateNew) {
    fd_ = OpenNative(path, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW, native);
    if (fd_ < 0) throw IoError(errno);
    return;
  }
  const int flags = O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW;
  fd_ = OpenNative(path, flags, native);
  if (fd_ < 0 && errno == ELOOP) {
    // A symbolic link in the file's place: replace the link itself, not what it points to.
    struct stat st;
    if (::lstat(native.c_str(), &st) == 0 && S_ISLNK(st.st_mode) && ::unlink(native.c_str()) == 0)
      fd_ = ::open(native.c_str(), flags | O_CLOEXEC, 0666);
    else
      errno = ELOOP;
  }
  if (fd_ < 0) throw IoError(errno);
}

File::~File() {
  if (fd_ >= 0) ::close(fd_);
}

File::File(File&& other) noexcept : fd_(other.fd_) {
  other.fd_ = -1;
}

File& File::operator=(File&& other) noexcept {
  if (this != &other) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = other.fd_;
    other.fd_ = -1;
  }
  return *this;
}

std::size_t File::Read(char* buffer, std::size_t size) {
  if (fd_ < 0) throw IoError(EBADF);
  while (true) {
    ssize_t n = ::read(fd_, buffer, size);
    if (n >= 0) return static_cast<std::size_t>(n);
    if (errno != EINTR) throw IoError(errno);
  }
}

void File::Write(const char* data, std::size_t size) {
  if (fd_ < 0) throw IoError(EBADF);
  while (size > 0) {
    ssize_t n = ::write(fd_, data, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      throw IoError(errno);
    }
    data += n;
    size -= static_cast<std::size_t>(n);
  }
}

std::int64_t File::Size() const {
  struct stat st;
  if (fd_ < 0 || ::fstat(fd_, &st) != 0) throw IoError(fd_ < 0 ? EBADF : errno);
  return st.st_size;
}

void File::Sync() {
  if (fd_ < 0) throw IoError(EBADF);
  while (::fsync(fd_) != 0)
    if (errno != EINTR) throw IoError(errno);
}

void File::Close() {
  if (fd_ < 0) return;
  int fd = fd_;
  fd_ = -1;
  if (::close(fd) != 0 && errno != EINTR) throw IoError(errno);
}

int ReadWholeFile(std::string_view path, std::string& content) {
  try {
    File file(path, File::Mode::Read);
    std::string data;
    char buffer[65536];
    while (std::size_t n = file.Read(buffer, sizeof buffer)) data.append(buffer, n);
    content = std::move(data);
    return 0;
  } catch (const IoError& e) {
    return e.code();
  }
}

}  // namespace platform
