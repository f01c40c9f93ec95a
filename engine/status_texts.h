// What a status label says while a collection is read or written, and after a write that did not
// go through (Shift-JIS), for the readers, the runs of page 1 and the second pages alike.
#pragma once

#include <string>

#include "engine/sjis_text.h"

namespace lf {

// While the bookmark file is read, by a run, a page or the merge of the editor page.
inline std::string ReadingBookmarkFileText() {
  return Sjis("[ ブックマークファイルの読み込み ]");
}
// While the Favorites folder is read.
inline std::string ReadingFavoritesText() {
  return Sjis("[ お気に入りファイルの読み込み ]");
}
// While the hotlist is read.
inline std::string ReadingHotlistText() {
  return Sjis("[ Ｏｐｅｒａブックマークファイルの読み込み ]");
}

// While a run of page 1 writes the Favorites folder, the bookmark file or the hotlist.
inline std::string WritingIntoFavoritesText() {
  return Sjis("[ お気に入りファイルへの書き込み ]");
}
inline std::string WritingIntoBookmarkFileText() {
  return Sjis("[ ブックマークファイルへの書き込み ]");
}
inline std::string WritingIntoHotlistText() {
  return Sjis("[ Ｏｐｅｒａブックマークファイルへの書き込み ]");
}

// After a page's write that did not go through: what it would write stays on the page.
inline std::string NotWrittenText() {
  return Sjis("[ 書き込めませんでした。「実行」で再度書き込めます ]");
}

}  // namespace lf
