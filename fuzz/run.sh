#!/usr/bin/env bash
# Builds the libFuzzer target with clang in build-fuzz and runs it.
#   fuzz/run.sh [SECONDS]   (default 30)
set -euo pipefail
cd "$(dirname "$0")/.."
SECONDS_TO_RUN=${1:-30}
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DROADTALLY_FUZZ=ON \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build-fuzz --target fuzz_import fuzz_import_smoke
corpus=build-fuzz/fuzz-corpus
if [ ! -d "$corpus" ]; then
    build-fuzz/bin/fuzz_import_smoke --write-seeds "$corpus"
fi
export QT_QPA_PLATFORM=offscreen
build-fuzz/bin/fuzz_import "$corpus" -max_total_time="$SECONDS_TO_RUN" -timeout=10 -rss_limit_mb=2048
