#!/usr/bin/env bash
# Roadtally build helper.
#   ./build.sh run    install what is missing, build, start the program
#   ./build.sh test   install what is missing, build, run the test suite
#   ./build.sh bench  build in release mode and run the import benchmark
#   ./build.sh build  install what is missing and build
set -euo pipefail
cd "$(dirname "$0")"

PACKAGES=(cmake ninja-build g++ clang libclang-rt-14-dev qt6-base-dev libqt6sql6-sqlite libsqlite3-dev
          libgl-dev fonts-liberation2 xvfb xauth poppler-utils)
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
    bench)
        BUILD_DIR=build-release build -DCMAKE_BUILD_TYPE=Release
        build-release/bin/roadtally-bench "${@:2}"
        ;;
    build)
        build
        ;;
    *)
        echo "usage: $0 run|test|bench|build" >&2
        exit 2
        ;;
esac
