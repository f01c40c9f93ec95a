#include "engine/json_text.h"

#include <simdjson.h>

#include <algorithm>
#include <cstring>

#include "engine/sjis_text.h"
#include "platform/file_system.h"

namespace lf {

char* JsonText::Resize(std::size_t size) {
  buffer_.reset(new char[size + simdjson::SIMDJSON_PADDING]);
  size_ = size;
  std::memset(buffer_.get() + size, 0, simdjson::SIMDJSON_PADDING);
  return buffer_.get();
}

void JsonText::Cut(std::size_t size) {
  if (size >= size_) return;
  size_ = size;
  std::memset(buffer_.get() + size, 0, simdjson::SIMDJSON_PADDING);
}

namespace {

constexpr std::size_t kPiece = std::size_t{1} << 20;

// Takes a file in pieces into the text without the blanks between its tokens. A browser writes
// its file with an indented line per value, most of a large file's bytes; leaving them out
// spares the memory they would take. Only whole lines are minified: JSON holds a line end
// only between tokens, never inside a string, so a line begins and ends outside every string.
// A line longer than a piece goes on as it is, and so does what cannot be minified, for the
// parser to say what is wrong with it.
class Minifier {
 public:
  explicit Minifier(char* out) : out_(out) {}

  // Passes on the text up to its last line end, or all of it at the end of the file or when it
  // holds none; returns how much was passed on.
  std::size_t Take(const char* text, std::size_t size, bool end) {
    std::size_t cut = size;
    if (!end)
      if (const void* last = memrchr(text, '\n', size))
        cut = static_cast<std::size_t>(static_cast<const char*>(last) - text) + 1;
    const bool endsLine = end || (cut > 0 && text[cut - 1] == '\n');
    std::size_t from = 0;
    if (!lineStart_) {
      const void* first = std::memchr(text, '\n', cut);
      from = first ? static_cast<std::size_t>(static_cast<const char*>(first) - text) + 1 : cut;
      Copy(text, from);
      lineStart_ = first != nullptr;
    }
    if (from < cut) {
      std::size_t written = 0;
      if (endsLine &&
          simdjson::minify(text + from, cut - from, out_ + done_, written) == simdjson::SUCCESS) {
        done_ += written;
      } else {
        Copy(text + from, cut - from);
        lineStart_ = endsLine;
      }
    }
    return cut;
  }

  std::size_t Done() const { return done_; }

 private:
  void Copy(const char* text, std::size_t size) {
    std::memcpy(out_ + done_, text, size);
    done_ += size;
  }

  char* const out_;
  std::size_t done_ = 0;
  bool lineStart_ = true;
};

}  // namespace

JsonText ReadJsonFile(const std::string& path) {
  platform::File file(path, platform::File::Mode::Read);
  JsonText text;
  // Room for the whole file: what the blanks would have taken is never touched.
  Minifier minifier(text.Resize(static_cast<std::size_t>(file.Size())));
  const std::size_t room = text.Size();
  std::unique_ptr<char[]> piece(new char[kPiece + simdjson::SIMDJSON_PADDING]());
  std::size_t held = 0, read = 0;
  for (bool end = false; !end;) {
    // A file grown while it is read is taken as far as its size said.
    const std::size_t got =
        read < room ? file.Read(piece.get() + held, std::min(kPiece - held, room - read)) : 0;
    read += got;
    held += got;
    end = got == 0;
    if (!end && held < kPiece) continue;
    const std::size_t taken = minifier.Take(piece.get(), held, end);
    std::memmove(piece.get(), piece.get() + taken, held - taken);
    held -= taken;
  }
  file.Close();
  text.Cut(minifier.Done());
  return text;
}

std::string ReadFailureText(const std::string& path, std::string_view reason) {
  return Sjis("Ｂｏｏｋｍａｒｋファイル[ ") + platform::ShownPath(path) +
         Sjis(" ]の読み込みで [ ") + std::string(reason) + Sjis(" ] のエラーが発生しました。");
}

}  // namespace lf
