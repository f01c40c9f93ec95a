#include "engine/text_file.h"

#include <cstring>

namespace lf {
namespace {
constexpr std::size_t kChunk = 1 << 16;
}

LineReader::LineReader(std::string_view path) : file_(path, platform::File::Mode::Read) {}

bool LineReader::Fill() {
  if (eof_) return false;
  if (pos_ > 0) {
    buffer_.erase(0, pos_);
    pos_ = 0;
  }
  std::size_t old = buffer_.size();
  buffer_.resize(old + kChunk);
  std::size_t n = file_.Read(buffer_.data() + old, kChunk);
  buffer_.resize(old + n);
  if (n == 0) {
    eof_ = true;
    return false;
  }
  // Everything from an end-of-file byte on is not part of the text.
  if (const void* stop = std::memchr(buffer_.data() + old, 0x1A, n)) {
    buffer_.resize(static_cast<const char*>(stop) - buffer_.data());
    eof_ = true;
  }
  return buffer_.size() > old;
}

bool LineReader::AtEnd() {
  if (!started_) {
    started_ = true;
    while (buffer_.size() < 3 && Fill()) {
    }
    if (buffer_.compare(0, 3, "\xEF\xBB\xBF") == 0) pos_ = 3;
  }
  if (pos_ < buffer_.size()) return false;
  return !Fill();
}

bool LineReader::ReadLine(std::string& line) {
  line.clear();
  if (AtEnd()) return false;
  while (true) {
    const char* start = buffer_.data() + pos_;
    std::size_t avail = buffer_.size() - pos_;
    const std::size_t len = std::string_view(start, avail).find_first_of("\r\n");
    if (len != std::string_view::npos) {
      const bool cr = start[len] == '\r';
      line.append(start, len);
      pos_ += len + 1;
      // A line feed right after the carriage return belongs to the line end.
      if (cr && pos_ >= buffer_.size()) Fill();
      if (cr && pos_ < buffer_.size() && buffer_[pos_] == '\n') ++pos_;
      return true;
    }
    line.append(start, avail);
    pos_ = buffer_.size();
    if (!Fill()) return true;  // the last line, without a line end
  }
}

LineWriter::LineWriter(std::string_view path) : file_(path, platform::File::Mode::Create) {
  buffer_.reserve(kChunk * 2);
}

LineWriter::~LineWriter() = default;

void LineWriter::WriteLine(std::string_view line) {
  // A line end or an end-of-file byte inside the line (a name can hold them) would end the
  // line or the whole file when it is read back: each is written as a blank.
  const std::size_t start = buffer_.size();
  buffer_.append(line);
  for (std::size_t i = buffer_.find_first_of("\r\n\x1A", start); i != std::string::npos;
       i = buffer_.find_first_of("\r\n\x1A", i + 1))
    buffer_[i] = ' ';
  buffer_.append("\r\n", 2);
  if (buffer_.size() >= kChunk) Flush();
}

void LineWriter::Flush() {
  if (buffer_.empty()) return;
  file_.Write(buffer_);
  buffer_.clear();
}

void LineWriter::Close() {
  Flush();
  file_.Close();
}

}  // namespace lf
