#include "tests/support/hostile_helpers.h"

#include <grp.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <stdexcept>

#include "tests/support/temp_dir.h"

namespace lftest {

namespace fs = std::filesystem;

std::string Tree(const std::string& nativeFolder) {
  std::vector<std::string> lines;
  std::error_code ec;
  for (auto it = fs::recursive_directory_iterator(nativeFolder, ec);
       !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
    const std::string rel = it->path().lexically_relative(nativeFolder).string();
    if (it->is_symlink(ec))
      lines.push_back(rel + " -> " + fs::read_symlink(it->path(), ec).string());
    else if (it->is_directory(ec))
      lines.push_back(rel + "/");
    else if (it->is_regular_file(ec))
      lines.push_back(rel + ": " + ReadFile(it->path().string()));
    else
      lines.push_back(rel + " (special)");
  }
  std::sort(lines.begin(), lines.end());
  std::string out;
  for (const std::string& line : lines) out += line + "\n";
  return out;
}

namespace {

// Runs work in a child process after prepare (which returns false if the child cannot be
// set up) and hands back the texts work returns, each ended by a NUL byte on the pipe.
std::vector<std::string> InChild(const std::function<bool()>& prepare,
                                 const std::function<std::vector<std::string>()>& work) {
  int fds[2];
  if (pipe(fds) != 0) throw std::runtime_error("pipe failed");
  const pid_t pid = fork();
  if (pid < 0) throw std::runtime_error("fork failed");
  if (pid == 0) {
    close(fds[0]);
    if (!prepare()) _exit(2);
    std::string out;
    for (const std::string& text : work()) {
      out += text;
      out.push_back('\0');
    }
    for (std::size_t done = 0; done < out.size();) {
      const ssize_t n = write(fds[1], out.data() + done, out.size() - done);
      if (n <= 0) _exit(3);
      done += static_cast<std::size_t>(n);
    }
    _exit(0);
  }
  close(fds[1]);
  std::string in;
  char buffer[4096];
  for (ssize_t n; (n = read(fds[0], buffer, sizeof buffer)) > 0;) in.append(buffer, n);
  close(fds[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
    throw std::runtime_error("the child process failed");
  std::vector<std::string> texts;
  for (std::size_t start = 0; start < in.size();) {
    const std::size_t end = in.find('\0', start);
    texts.push_back(in.substr(start, end - start));
    start = end + 1;
  }
  return texts;
}

}  // namespace

std::vector<std::string> InChildWithFileLimit(
    long limit, const std::function<std::vector<std::string>()>& work) {
  return InChild(
      [limit] {
        signal(SIGXFSZ, SIG_IGN);
        const rlimit rl{static_cast<rlim_t>(limit), static_cast<rlim_t>(limit)};
        return setrlimit(RLIMIT_FSIZE, &rl) == 0;
      },
      work);
}

std::vector<std::string> InChildWithoutRoot(const std::function<std::vector<std::string>()>& work) {
  return InChild(
      [] {
        if (geteuid() != 0) return true;
        const uid_t nobody = 65534;
        return setgroups(0, nullptr) == 0 && setgid(nobody) == 0 && setuid(nobody) == 0 &&
               geteuid() == nobody;
      },
      work);
}

}  // namespace lftest
