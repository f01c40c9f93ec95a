#include "engine/bookmark_charset.h"

#include <array>
#include <cctype>
#include <utility>

#include "engine/bookmark_control.h"
#include "engine/html_text.h"
#include "engine/text_file.h"
#include "platform/codepage.h"
#include "platform/collation.h"
#include "platform/file_system.h"

namespace lf {
namespace {

// How much of a part of a long line is looked at again with the next one.
constexpr std::size_t kOverlap = 64;

// The character set a declaration names ("charset=utf-8", 'charset="EUC-JP"', "<meta
// charset=x-sjis>"), or -1 when the line holds none the reader knows.
int DeclaredCharset(std::string_view line) {
  // clang-format off
  static constexpr std::array<std::pair<std::string_view, int>, 16> kNames{{
      {"utf-8", kCharsetUtf8},       {"utf8", kCharsetUtf8},
      {"shift_jis", kCharsetSjis},   {"shift-jis", kCharsetSjis},
      {"sjis", kCharsetSjis},        {"x-sjis", kCharsetSjis},
      {"windows-31j", kCharsetSjis}, {"cp932", kCharsetSjis},
      {"ms932", kCharsetSjis},       {"ms_kanji", kCharsetSjis},
      {"euc-jp", kCharsetEuc},       {"euc_jp", kCharsetEuc},
      {"eucjp", kCharsetEuc},        {"x-euc-jp", kCharsetEuc},
      {"x-euc", kCharsetEuc},        {"ujis", kCharsetEuc},
  }};
  // clang-format on
  for (std::size_t at = line.find("charset"); at != std::string_view::npos;
       at = line.find("charset", at + 1)) {
    std::size_t i = at + 7;
    while (i < line.size() && line[i] == ' ') ++i;
    if (i == line.size() || line[i] != '=') continue;
    ++i;
    while (i < line.size() && line[i] == ' ') ++i;
    if (i < line.size() && (line[i] == '"' || line[i] == '\'')) ++i;
    std::size_t end = i;
    while (end < line.size() && (std::isalnum(static_cast<unsigned char>(line[end])) ||
                                 line[end] == '-' || line[end] == '_'))
      ++end;
    const std::string_view name = line.substr(i, end - i);
    for (const auto& [known, charset] : kNames)
      if (name == known) return charset;
  }
  return -1;
}

// Follows the bytes of a file in each of the three character sets: whether they are valid
// UTF-8 holding some byte above 0x7F, and whether they are characters of Shift-JIS and of
// EUC-JP all through.
class CharsetGuess {
 public:
  void Take(std::string_view line) {
    for (std::size_t i = 0; i < line.size(); ++i) {
      const unsigned char c = static_cast<unsigned char>(line[i]);
      if (c >= 0x80) nonAscii_ = true;
      TakeUtf8(c);
      TakeSjis(c);
      TakeEuc(c);
    }
    // A line end ends every character.
    utf8_ = utf8_ && utf8Left_ == 0;
    sjis_ = sjis_ && sjisLead_ == 0;
    euc_ = euc_ && eucLeft_ == 0;
  }

  // Valid UTF-8 with non-ASCII bytes is UTF-8; otherwise the one of Shift-JIS and EUC-JP that
  // the bytes fit. Japanese text in Shift-JIS is hardly ever EUC-JP too (its kana and most of
  // its kanji begin with bytes EUC-JP has no use for), while EUC-JP often reads as half-width
  // katakana in Shift-JIS: a text that fits both is EUC-JP when it holds kana as EUC-JP writes
  // them. Anything else is Shift-JIS, as a file without a declaration always was.
  int Charset() const {
    if (!nonAscii_) return kCharsetSjis;
    if (utf8_) return kCharsetUtf8;
    if (euc_ && (!sjis_ || eucKana_)) return kCharsetEuc;
    return kCharsetSjis;
  }

 private:
  void TakeUtf8(unsigned char c) {
    if (!utf8_) return;
    if (utf8Left_ > 0) {
      if ((c & 0xC0) != 0x80) utf8_ = false;
      --utf8Left_;
      return;
    }
    if (c < 0x80) return;
    if (c >= 0xC2 && c <= 0xDF)
      utf8Left_ = 1;
    else if (c >= 0xE0 && c <= 0xEF)
      utf8Left_ = 2;
    else if (c >= 0xF0 && c <= 0xF4)
      utf8Left_ = 3;
    else
      utf8_ = false;
  }
  void TakeSjis(unsigned char c) {
    if (!sjis_) return;
    if (sjisLead_ != 0) {
      sjis_ = platform::IsTrailByte(c) && platform::Cp932CodeToUnicode((sjisLead_ << 8) | c) != 0;
      sjisLead_ = 0;
      return;
    }
    if (platform::IsLeadByte(c))
      sjisLead_ = c;
    else if (c == 0x80 || c == 0xA0 || c >= 0xFD)
      sjis_ = false;
  }
  void TakeEuc(unsigned char c) {
    if (!euc_) return;
    if (eucLeft_ > 0) {
      euc_ = eucHalfWidth_ ? (c >= 0xA1 && c <= 0xDF) : (c >= 0xA1 && c <= 0xFE);
      eucHalfWidth_ = false;
      --eucLeft_;
      return;
    }
    if (c < 0x80) return;
    if (c == 0x8E) {
      eucLeft_ = 1;
      eucHalfWidth_ = true;
    } else if (c == 0x8F) {
      eucLeft_ = 2;
    } else if (c >= 0xA1 && c <= 0xFE) {
      eucLeft_ = 1;
      if (c == 0xA4 || c == 0xA5) eucKana_ = true;
    } else {
      euc_ = false;
    }
  }

  bool nonAscii_ = false;
  bool utf8_ = true, sjis_ = true, euc_ = true;
  int utf8Left_ = 0;
  unsigned sjisLead_ = 0;
  int eucLeft_ = 0;
  bool eucHalfWidth_ = false;  // the byte after 0x8E: a half-width katakana
  bool eucKana_ = false;       // a hiragana or katakana of EUC-JP seen
};

}  // namespace

int DetectCharset(const std::string& path) {
  {
    platform::File file(path, platform::File::Mode::Read);
    char head[3];
    if (file.Read(head, 3) == 3 && std::string_view(head, 3) == "\xEF\xBB\xBF") return kCharsetUtf8;
  }
  LineReader file(path);
  CharsetGuess guess;
  std::string part, folded;
  bool ended = true;
  while (true) {
    // A declaration may have begun in the part before, unless a line ended there.
    if (ended)
      folded.clear();
    else if (folded.size() > kOverlap)
      folded.erase(0, folded.size() - kOverlap);
    if (!file.ReadPart(part, kBookmarkFilePart, ended)) break;
    // The character set is not known yet, so every byte is folded. The declaration is looked
    // for before the bytes are guessed from: a file written on one line declares it at once.
    const std::size_t start = folded.size();
    folded.resize(start + part.size());
    for (std::size_t i = 0; i < part.size(); ++i)
      folded[start + i] =
          static_cast<char>(platform::FoldAsciiCase(static_cast<unsigned char>(part[i])));
    if (const int declared = DeclaredCharset(folded); declared >= 0) return declared;
    guess.Take(part);
  }
  return guess.Charset();
}

void LineInSjis(int charset, std::string& raw, std::string& line) {
  if (charset == kCharsetUtf8)
    line = Utf8MarkupToSjis(raw);
  else if (charset == kCharsetEuc)
    line = TBookmarkControl::EucToSjis(raw);
  else
    line.swap(raw);
}

}  // namespace lf
