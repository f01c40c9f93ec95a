// What the pages and page 1 say when a step that writes has gone through (Shift-JIS).
#pragma once

#include <string>

#include "core/operations.h"
#include "engine/bookmark_list.h"

namespace lf {

// "お気に入り", "ブックマークファイル" or "Ｏｐｅｒａブックマークファイル".
std::string CollectionName(Collection collection);

// "[ お気に入りに ＵＲＬ 12 件、フォルダ 3 件を書き込みました ]".
std::string WrittenText(Collection collection, int links, int folders);

// The folder entries of a list: the folders a whole-file writer writes with its links.
int FolderEntries(const BookmarkList& list);

}  // namespace lf
