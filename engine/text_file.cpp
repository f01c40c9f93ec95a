#include "engine/text_file.h"

#include <cstring>

namespace lf {
namespace {
constexpr std::size_t kChunk = 1 << 16;

// A byte that would end the line or the file when read back, or cut it short for a reader
// that takes text as C strings (a NUL).
bool Breaks(char c) {
  return c == '\r' || c == '\n' || c == '\x1A' || c == '\0';
}

// Replaces every such byte of the text by a blank. Text rarely holds a byte below 0x1B, so it
// is looked at eight bytes at a time for one, and only such a word byte by byte.
void BlankLineBreaks(char* p, std::size_t n) {
  constexpr std::uint64_t kOnes = 0x0101010101010101ull;
  constexpr std::uint64_t kHighs = 0x8080808080808080ull;
  std::size_t i = 0;
  for (; i + 8 <= n; i += 8) {
    std::uint64_t word;
    std::memcpy(&word, p + i, 8);
    if (((word - kOnes * 0x1B) & ~word & kHighs) == 0) continue;
    for (std::size_t k = i; k < i + 8; ++k)
      if (Breaks(p[k])) p[k] = ' ';
  }
  for (; i < n; ++i)
    if (Breaks(p[i])) p[i] = ' ';
}

}  // namespace

LineReader::LineReader(std::string_view path) : file_(path, platform::File::Mode::Read) {}

bool LineReader::Fill() {
  if (eof_) return false;
  lineFeedKnown_ = false;
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
  bool ended;
  return ReadPart(line, std::string::npos, ended);
}

bool LineReader::ReadPart(std::string& line, std::size_t most, bool& ended) {
  line.clear();
  ended = true;
  if (AtEnd()) return false;
  while (true) {
    const char* start = buffer_.data() + pos_;
    const std::size_t avail = buffer_.size() - pos_;
    if (!lineFeedKnown_ || lineFeed_ < pos_) {
      const void* lf = std::memchr(start, '\n', avail);
      lineFeed_ = lf ? static_cast<std::size_t>(static_cast<const char*>(lf) - buffer_.data())
                     : buffer_.size();
      lineFeedKnown_ = true;
    }
    // The line ends at the first carriage return before that line feed, else at the line feed.
    const std::size_t toLineFeed = lineFeed_ - pos_;
    const void* carriage = std::memchr(start, '\r', toLineFeed);
    const std::size_t len =
        carriage ? static_cast<std::size_t>(static_cast<const char*>(carriage) - start)
        : lineFeed_ < buffer_.size() ? toLineFeed
                                     : std::string_view::npos;
    if (len != std::string_view::npos) {
      const bool cr = start[len] == '\r';
      line.append(start, len);
      pos_ += len + 1;
      // A line feed right after the carriage return belongs to the line end.
      if (cr && pos_ >= buffer_.size()) Fill();
      if (cr && pos_ < buffer_.size() && buffer_[pos_] == '\n') ++pos_;
      return true;
    }
    if (line.size() + avail > most) {
      std::size_t cut = avail;
      while (cut > 0 && static_cast<unsigned char>(start[cut - 1]) >= 0x40) --cut;
      if (cut > 0) {
        line.append(start, cut);
        pos_ += cut;
        ended = false;
        return true;
      }
    }
    line.append(start, avail);
    pos_ = buffer_.size();
    if (!Fill()) return true;  // the last line, without a line end
  }
}

LineWriter::LineWriter(platform::ByteSink& sink) : sink_(sink) {
  buffer_.reserve(kChunk * 2);
}

void LineWriter::WriteLine(std::string_view line) {
  const std::size_t start = buffer_.size();
  buffer_.append(line);
  EndLine(start);
}

void LineWriter::EndLine(std::size_t start) {
  // A line end or an end-of-file byte inside the line (a name can hold them) would end the
  // line or the whole file when it is read back: each is written as a blank.
  BlankLineBreaks(buffer_.data() + start, buffer_.size() - start);
  buffer_.append("\r\n", 2);
  if (buffer_.size() >= kChunk) Flush();
}

void LineWriter::WriteLines(std::string_view lines) {
  buffer_.append(lines);
  if (buffer_.size() >= kChunk) Flush();
}

void LineWriter::Flush() {
  if (buffer_.empty()) return;
  sink_.Write(buffer_);
  buffer_.clear();
}

}  // namespace lf
