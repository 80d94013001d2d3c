#!/usr/bin/env bash
# Builds Kelvane with its tests and runs them all (GUI tests on the offscreen platform).
set -euo pipefail
cd "$(dirname "$0")"
bash tools/install-deps.sh
cmake -S . -B build-test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKELVANE_BUILD_TESTS=ON -DKELVANE_BUILD_BENCH=ON >/dev/null
cmake --build build-test -j2
cd build-test
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2
