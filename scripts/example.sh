#!/usr/bin/env bash
# Builds Kestra and analyses the bundled example deck.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${BUILD:-build}
DECK=${1:-examples/pier3d.dat}
cmake -S . -B "$BUILD" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$BUILD" -j2 --target kestra_cli
"$BUILD/kestra" run "$DECK"
