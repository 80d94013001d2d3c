#!/usr/bin/env bash
# Installs what is missing, builds Kelvane and starts it on its own database (build/bin/kelvane.db).
set -euo pipefail
cd "$(dirname "$0")"
bash tools/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKELVANE_BUILD_TESTS=OFF >/dev/null
cmake --build build -j2 --target kelvane
exec build/bin/kelvane "$@"
