#include "pages/step_texts.h"

#include "engine/bookmark_control.h"
#include "engine/sjis_text.h"

namespace lf {

std::string CollectionName(Collection collection) {
  switch (collection) {
    case Collection::Favorites:
      return Sjis("お気に入り");
    case Collection::Hotlist:
      return Sjis("Ｏｐｅｒａブックマークファイル");
    case Collection::BookmarkFile:
      break;
  }
  return Sjis("ブックマークファイル");
}

std::string WrittenText(Collection collection, int links, int folders) {
  return Sjis("[ ") + CollectionName(collection) + Sjis("に ＵＲＬ ") + std::to_string(links) +
         Sjis(" 件、フォルダ ") + std::to_string(folders) + Sjis(" 件を書き込みました ]");
}

int FolderEntries(const BookmarkList& list) {
  int folders = 0;
  for (const Entry& entry : list) folders += TBookmarkControl::IsFolderEntry(entry);
  return folders;
}

}  // namespace lf
