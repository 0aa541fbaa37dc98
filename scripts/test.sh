#!/usr/bin/env bash
# Builds Kestra (Release) and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${BUILD:-build}
cmake -S . -B "$BUILD" -DCMAKE_BUILD_TYPE=Release -DKESTRA_TESTS=ON >/dev/null
cmake --build "$BUILD" -j2
LC_ALL=C ctest --test-dir "$BUILD" --output-on-failure --no-tests=error -j2
