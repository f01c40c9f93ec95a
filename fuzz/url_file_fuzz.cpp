// A shortcut file of the Favorites folder on raw bytes: read alone, and read by the walk of
// a Favorites folder that holds it.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

#include "engine/bookmark_control.h"
#include "engine/sjis_text.h"
#include "fuzz/fuzz_support.h"
#include "platform/ini_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace lffuzz;
  const std::string content(reinterpret_cast<const char*>(data), size);
  const Scratch& scratch = Scratch::Get();
  scratch.Reset();
  std::filesystem::create_directories(scratch.Native("fav/sub"));
  scratch.Write("fav/sub/x.url", content);

  lf::TBookmarkControl control;
  const std::string url = control.ReadUrlFile(scratch.Path("fav\\sub\\x.url"));
  Check(platform::IniFile(scratch.Path("fav\\sub\\x.url"))
                .ReadString("InternetShortcut", "URL", "")
                .size() <= platform::IniFile::kMaxValue,
        "values are cut to their limit");
  Check(url.find_first_of("\r\n") == std::string::npos, "a value is one line", url);

  QuietOwner owner;
  lf::BookmarkList list;
  int cancel = 0, errors = 0, count = 0;
  const std::string root = scratch.Path("fav");
  control.LoadFavorites(owner, nullptr, cancel, errors, count, list, nullptr, root);
  Check(owner.messages == 0, "the walk shows no message", owner.last);
  CheckEntriesUnder(list, root);
  const bool usable = lf::TBookmarkControl::IsAddress(url);
  Check(count == (usable ? 1 : 0) && errors == (usable ? 0 : 1), "one link or one lost file");
  if (usable) {
    const std::string link = root + "\\sub" + std::string(lf::kLinkMarker) + "x.url1\\" + url;
    Check(list.size() == 2 && list[0] == root + "\\sub.dir0" && list[1] == link,
          "the folder and its link", list.back());
    Check(ListNames(scratch.Native("prog")).empty(), "nothing logged for a usable link");
  } else {
    Check(list.size() == 1, "only the folder");
    const std::string log = scratch.Read("prog/LostData.txt");
    Check(log == "URL Error : " + scratch.Native("fav/sub/x.url") + "\n", "the lost file logged",
          log);
  }
  Check(scratch.Read("fav/sub/x.url") == content, "the shortcut is unchanged");
  scratch.CheckNothingOutside();
  return 0;
}
