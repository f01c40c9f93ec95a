// Helpers of the hostile-input tests: a picture of a whole folder tree to prove that nothing
// changed, and a child process whose files cannot grow past a limit.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace lftest {

// Everything below a native folder, one sorted line per item: "path: bytes" for a file,
// "path/" for a folder, "path -> target" for a symbolic link (never followed).
std::string Tree(const std::string& nativeFolder);

// Runs work in a child process in which files cannot grow beyond limit bytes (a write past
// it fails with EFBIG, as on a full disk) and hands back the texts work returns.
std::vector<std::string> InChildWithFileLimit(
    long limit, const std::function<std::vector<std::string>()>& work);

// Runs work in a child process without root's rights (as the user "nobody" when started as
// root), so that a folder without write permission or a file without read permission stops
// it as it stops any user, and hands back the texts work returns.
std::vector<std::string> InChildWithoutRoot(const std::function<std::vector<std::string>()>& work);

}  // namespace lftest
