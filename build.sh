#!/usr/bin/env bash
# Sets up a Debian 12 machine for Velmora Row, builds it, and runs the game or the tests.
#   bash build.sh run     install what is missing, build, start the game
#   bash build.sh test    install what is missing, build, run every test
#   bash build.sh fuzz    build the fuzz targets with clang and run each for a bounded time
set -euo pipefail
cd "$(dirname "$0")"

PACKAGES=(build-essential cmake pkg-config git
          libsdl2-dev libpng-dev libjpeg62-turbo-dev zlib1g-dev libfreetype-dev fonts-dejavu-core
          libvorbis-dev libogg-dev libcairo2-dev
          libgtest-dev libgmock-dev libbenchmark-dev clang libclang-rt-14-dev xvfb xauth)

install_packages() {
    local missing=()
    for p in "${PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
}

jobs() { nproc 2>/dev/null || echo 2; }

build() {
    local dir=$1; shift
    cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=Release "$@"
    cmake --build "$dir" -j "$(jobs)"
}

case "${1:-}" in
    run)
        install_packages
        build build
        shift
        exec ./build/game/velmora "$@"
        ;;
    test)
        install_packages
        build build -DVELMORA_WERROR=ON -DVELMORA_BUILD_TESTS=ON
        ctest --test-dir build --output-on-failure -j "$(jobs)" --timeout 600
        ;;
    fuzz)
        install_packages
        seconds=${FUZZ_SECONDS:-60}
        CC=clang CXX=clang++ build build-fuzz -DVELMORA_FUZZ=ON -DVELMORA_BUILD_TESTS=OFF \
            -DVELMORA_BUILD_BENCH=OFF -DVELMORA_BUILD_CONTENT=OFF
        root=$(pwd)
        passed=0
        failed=0
        while IFS='|' read -r name corpus; do
            [ -n "$name" ] || continue
            work=$(mktemp -d)
            [ -d "$corpus" ] && cp -r "$corpus"/. "$work"/
            echo "== fuzzing $name for ${seconds}s"
            # The fuzzer changes folder on its own; give it absolute paths and keep its findings for a look.
            if (cd "$work" && "$root/build-fuzz/fuzzers/$name" -max_total_time="$seconds" -rss_limit_mb=512 \
                    -artifact_prefix="$root/build-fuzz/$name-" "$work" > "$root/build-fuzz/$name.log" 2>&1); then
                passed=$((passed + 1))
                tail -1 "build-fuzz/$name.log"
            else
                failed=$((failed + 1))
                tail -40 "build-fuzz/$name.log"
            fi
            rm -rf "$work"
        done < build-fuzz/fuzzers.txt
        echo "fuzz: $passed passed, $failed failed"
        [ "$failed" -eq 0 ]
        ;;
    *)
        sed -n '2,5p' "$0" | sed 's/^# \{0,1\}//'
        exit 2
        ;;
esac
