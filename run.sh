#!/usr/bin/env bash
# Installs what is missing, builds, and starts Linkferry; arguments go to the program
# (./run.sh -1 runs operation 1 unattended).
set -euo pipefail
cd "$(dirname "$0")"
./scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build
if [ ! -x build/wizard/linkferry ]; then
  echo "build/wizard/linkferry was not built (is Qt 6 installed?)" >&2
  exit 1
fi
exec build/wizard/linkferry "$@"
