#!/usr/bin/env bash
# Roadtally build helper.
#   ./build.sh run    install what is missing, build, start the program
#   ./build.sh test   install what is missing, build, run the test suite
#   ./build.sh bench  build in release mode and run the import benchmark
#   ./build.sh build  install what is missing and build
#   ./build.sh package  build, then make the Debian package (build/roadtally_*.deb)
#   ./build.sh fuzz   build the libFuzzer targets with clang and run each for a while
set -euo pipefail
cd "$(dirname "$0")"

PACKAGES=(cmake ninja-build g++ qt6-base-dev libqt6sql6-sqlite libsqlite3-dev
          libgl-dev fonts-liberation2 xvfb xauth poppler-utils
          pkg-config libxlsxwriter-dev unzip clang-format
          help2man librsvg2-bin desktop-file-utils appstream dpkg-dev file
          libboost-math-dev
          libpq-dev libqt6sql6-psql postgresql)
FUZZ_PACKAGES=(clang libclang-rt-14-dev)
BUILD_DIR=${BUILD_DIR:-build}

install_packages() {
    local missing=()
    for p in "${PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=""
    if [ "$(id -u)" -ne 0 ]; then
        if ! command -v sudo >/dev/null; then
            echo "Missing packages: ${missing[*]}; install them as root (apt-get install)." >&2
            exit 1
        fi
        sudo="sudo"
    fi
    $sudo apt-get update -q
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q "${missing[@]}"
}

build() {
    install_packages
    cmake -S . -B "$BUILD_DIR" -G Ninja "$@" >/dev/null
    cmake --build "$BUILD_DIR"
}

case "${1:-}" in
    run)
        build
        if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
            echo "No display found: starting the program under xvfb-run (invisible)."
            exec xvfb-run -a "$BUILD_DIR/bin/roadtally"
        fi
        exec "$BUILD_DIR/bin/roadtally"
        ;;
    test)
        build
        cd "$BUILD_DIR" && ctest --output-on-failure -j2
        ;;
    fuzz)
        PACKAGES+=("${FUZZ_PACKAGES[@]}")
        install_packages
        cmake -S . -B build-fuzz -G Ninja -DROADTALLY_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++ >/dev/null
        cmake --build build-fuzz --target fuzzers
        for f in build-fuzz/bin/fuzz_*; do
            corpus="build-fuzz/corpus/$(basename "$f")"
            mkdir -p "$corpus"
            seeds="fuzz/corpus/$(basename "$f")"
            [ -d "$seeds" ] || seeds=""
            "$f" -max_total_time="${FUZZ_SECONDS:-60}" "$corpus" $seeds
        done
        ;;
    bench)
        BUILD_DIR=build-release build -DCMAKE_BUILD_TYPE=Release
        build-release/bin/roadtally-bench "${@:2}"
        ;;
    build)
        build
        ;;
    package)
        # The package is made from the build tree as it stands: nothing is built twice.
        build
        (cd "$BUILD_DIR" && cpack -G DEB)
        ;;
    *)
        echo "usage: $0 run|test|bench|build|package|fuzz" >&2
        exit 2
        ;;
esac
