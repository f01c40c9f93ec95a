#include "core/command_line.h"

namespace lf {

int AutoOperationOf(const std::vector<std::string>& args) {
  if (args.size() != 1) return 0;
  const std::string& arg = args.front();
  if (arg.size() < 2 || arg[0] != '-') return 0;
  if (arg[1] < '1' || arg[1] > '3') return 0;
  return arg[1] - '0';
}

}  // namespace lf
