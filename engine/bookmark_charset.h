// The character set of a Netscape bookmark file and its lines in the program's Shift-JIS.
#pragma once

#include <cstddef>
#include <string>

namespace lf {

inline constexpr int kCharsetSjis = 0;
inline constexpr int kCharsetUtf8 = 1;
inline constexpr int kCharsetEuc = 2;

// The most of a line that a reader takes at once (LineReader::ReadPart).
inline constexpr std::size_t kBookmarkFilePart = 1 << 16;

// The declared character set (the first declaration the reader knows decides), else the one
// the bytes fit. A file that begins with the UTF-8 byte order mark is UTF-8. Throws
// platform::IoError.
int DetectCharset(const std::string& path);

// A line of a file in that character set, in Shift-JIS in line; a Shift-JIS line is handed
// over without a copy.
void LineInSjis(int charset, std::string& raw, std::string& line);

}  // namespace lf
