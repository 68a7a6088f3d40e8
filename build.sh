#!/usr/bin/env bash
# Sets up a Debian 12 machine for Velmora Row, builds it, and runs the game or the tests.
#   bash build.sh run     install what is missing, build, start the game
#   bash build.sh test    install what is missing, build, run every test
#   bash build.sh fuzz    build the fuzz targets with clang and run each for a bounded time
#   bash build.sh package build in Release and make the Debian package in build/package/, then check it
#   bash build.sh web     build the browser version into build-web/ (a static site) and say how to serve it
#   bash build.sh web-test  build it and play it in Debian's Chromium (logo to menu, a day, a reload)
set -euo pipefail
cd "$(dirname "$0")"

PACKAGES=(build-essential cmake pkg-config git
          libsdl2-dev libpng-dev libjpeg62-turbo-dev zlib1g-dev libfreetype-dev fonts-dejavu-core
          libvorbis-dev libogg-dev libcairo2-dev libstb-dev
          libgtest-dev libgmock-dev libbenchmark-dev clang libclang-rt-14-dev xvfb xauth)

# install_packages [EXTRA...]: the packages above plus the extra ones, each only when it is missing.
install_packages() {
    local missing=()
    for p in "${PACKAGES[@]}" "$@"; do
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

# ---- Debian package --------------------------------------------------------------------------------------------
# The package is made from a finished build folder (the test build's, in the test command, so that CI builds only
# once) by dist/make-deb.sh, then checked with the validators a distribution would run.
PACKAGE_TOOLS=(dpkg-dev librsvg2-bin desktop-file-utils appstream lintian)

# make_package BUILD_DIR: writes BUILD_DIR/package/velmora-row_*.deb and checks it; fails on any error.
make_package() {
    local dir=$1 deb
    deb=$(bash dist/make-deb.sh "$dir" "$dir/package")
    local root=$dir/package/root
    desktop-file-validate "$root"/usr/share/applications/*.desktop
    appstreamcli validate --no-net "$root"/usr/share/metainfo/*.metainfo.xml
    # Errors fail the build; warnings are printed for a look (README says why each that stays is there).
    local report=$dir/package/lintian.txt
    if ! lintian --fail-on error --tag-display-limit 0 "$deb" > "$report" 2>&1; then
        cat "$report"
        echo "lintian found errors in $deb"
        return 1
    fi
    cat "$report"
    echo "package: $deb"
}

# check_package_install BUILD_DIR: dpkg -i, the menu's command headless, dpkg -r, and no file of the package left.
# It changes the machine it runs on, so only CI (a throwaway machine, as root) runs it, and never over a copy
# that someone installed.
check_package_install() {
    local dir=$1 deb shot files
    deb=$(ls "$dir"/package/velmora-row_*.deb)
    if dpkg-query -W -f='${Status}' velmora-row 2>/dev/null | grep -q "install ok installed"; then
        echo "velmora-row is installed here already: install check skipped"
        return 0
    fi
    files=$(dpkg-deb -c "$deb" | awk '{print substr($6, 2)}' | grep -v '/$')
    dpkg -i "$deb"
    # The menu's command, as a desktop session would find it on the PATH (Debian's PATH has /usr/games).
    local exec_line
    exec_line=$(sed -n 's/^Exec=//p' /usr/share/applications/velmora-row.desktop)
    # Its picture must be the build tree's: the same logo, drawn from the data where the package put it.
    shot=$(mktemp --suffix=.png)
    (cd / && PATH=/usr/local/bin:/usr/bin:/bin:/usr/games $exec_line -headless -ticks=300 -shot="$shot.installed")
    "$dir/game/velmora" -headless -ticks=300 -shot="$shot"
    local same=0
    cmp -s "$shot" "$shot.installed" && same=1
    rm -f "$shot" "$shot.installed"
    dpkg -r velmora-row
    [ "$same" -eq 1 ] || { echo "the installed game drew another picture than the build's"; return 1; }
    local left=0
    for f in $files; do
        [ -e "$f" ] && { echo "left behind: $f"; left=1; }
    done
    [ -d /usr/share/games/velmora-row ] && { echo "left behind: /usr/share/games/velmora-row"; left=1; }
    [ "$left" -eq 0 ] && echo "package install check: installed, ran, removed, nothing left"
    return "$left"
}
# ----------------------------------------------------------------------------------------------------------------

build() {
    local dir=$1; shift
    cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=Release "$@"
    cmake --build "$dir" -j "$(jobs)"
}

# ---- The browser version ----------------------------------------------------------------------------------------
# Debian's emscripten builds it offline; the game's data is the desktop build's generated archive. The site goes to
# build-web/, emscripten's build tree to build-emscripten/.
WEB_PACKAGES=(emscripten libstb-dev)
WEB_TEST_PACKAGES=(chromium)

install_these() {
    local missing=()
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    # Node and npm may come from elsewhere than Debian (a newer Node bundles its own npm): only ask for them when
    # the commands are missing.
    command -v node >/dev/null || missing+=(nodejs)
    command -v npm >/dev/null || missing+=(npm)
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
}

web_build() {
    install_packages
    install_these "${WEB_PACKAGES[@]}"
    # The content generator is a desktop program: the archive comes from the desktop build.
    [ -f build/game/main.pak ] || build build
    # Debian's emscripten finds its JavaScript helpers (acorn) among Debian's node modules only through NODE_PATH.
    export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}
    emcmake cmake -S . -B build-emscripten -DCMAKE_BUILD_TYPE=Release -DVELMORA_WEB_DATA="$(pwd)/build/game" \
        -DVELMORA_WEB_SITE="$(pwd)/build-web" >/dev/null
    cmake --build build-emscripten -j "$(jobs)"
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
        install_packages "${PACKAGE_TOOLS[@]}"
        make_package build
        if [ "${CI:-}" = true ] && [ "$(id -u)" -eq 0 ]; then
            check_package_install build
        fi
        ;;
    package)
        install_packages "${PACKAGE_TOOLS[@]}"
        build build
        make_package build
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
    web)
        web_build
        echo "The site is in build-web/ ($(du -sh build-web | cut -f1)). Serve it from any static file server, e.g."
        echo "    python3 -m http.server -d build-web 8000 --bind 127.0.0.1"
        echo "and open http://127.0.0.1:8000/ (or ?autoplay&level=1:0&seed=1 to watch the built-in player)."
        ;;
    web-test)
        web_build
        install_these "${WEB_TEST_PACKAGES[@]}"
        # puppeteer-core drives the browser we name and never downloads one.
        (cd tests/web && npm ci --no-audit --no-fund --loglevel=error)
        node tests/web/web-test.mjs build-web build-web-test
        ;;
    *)
        sed -n '2,8p' "$0" | sed 's/^# \{0,1\}//'
        exit 2
        ;;
esac
