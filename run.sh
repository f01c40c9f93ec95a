#!/usr/bin/env bash
# Installs what is missing, builds, and starts Linkferry; arguments go to the program
# (./run.sh -1 runs operation 1 unattended).
set -euo pipefail
cd "$(dirname "$0")"
./scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build
if [ -x build/wizard/linkferry ]; then
  exec build/wizard/linkferry "$@"
fi
# Until the windows exist: a demonstration of the engine on generated collections.
exec build/bench/engine_bench --benchmark_filter='/10000$' "$@"
