#!/usr/bin/env bash
# Makes the Debian package of Velmora Row from a finished Release build folder, with Debian's own tools:
#   bash dist/make-deb.sh BUILD_DIR OUT_DIR
# Writes OUT_DIR/velmora-row_VERSION_ARCH.deb, and OUT_DIR/screenshots/*.png for the screenshot address that the
# AppStream metadata names (VELMORA_SCREENSHOT_URL; VELMORA_HOMEPAGE for the home page). The files come from the
# build's own install rules, in the Debian layout: the program in /usr/games, its data in
# /usr/share/games/velmora-row. Needs dpkg-dev (dpkg-shlibdeps) and librsvg2-bin (rsvg-convert); build.sh installs
# both.
set -euo pipefail

build=$(realpath "$1")
out=$(realpath -m "$2")
dist=$(cd "$(dirname "$0")" && pwd)
package=velmora-row
homepage=${VELMORA_HOMEPAGE:-https://kestrin.example/velmora-row/}
shots_url=${VELMORA_SCREENSHOT_URL:-${homepage%/}/screenshots}
metainfo_id=example.kestrin.VelmoraRow

die() { echo "make-deb: $*" >&2; exit 1; }

# The version and date come from the changelog's top entry; the build must be of that same version.
version=$(sed -n '1s/^[^ ]* (\([^)]*\)).*/\1/p' "$dist/changelog")
changelog_date=$(sed -n 's/^ -- .*>  \(.*\)$/\1/p' "$dist/changelog" | head -1)
[ -n "$version" ] && [ -n "$changelog_date" ] || die "dist/changelog: no version or date in its top entry"
built_version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
[ "$version" = "$built_version" ] || die "dist/changelog is at $version, the build at $built_version"
# Every date and file time in the package follows from the changelog, so the same sources give the same package.
export SOURCE_DATE_EPOCH=$(date -d "$changelog_date" +%s)
iso_date=$(date -u -d "@$SOURCE_DATE_EPOCH" +%Y-%m-%d)
arch=$(dpkg --print-architecture)

root="$out/root"
rm -rf "$root" "$out/screenshots"
mkdir -p "$root" "$out/screenshots"

# Program and data, desktop entry and scalable icon: the install rules, with the Debian folders for games.
DESTDIR="$root" cmake -DCMAKE_INSTALL_PREFIX=/usr -DCMAKE_INSTALL_DO_STRIP=1 -DVELMORA_INSTALL_BINDIR=games \
    -DVELMORA_INSTALL_DATADIR=share/games/$package -P "$build/cmake_install.cmake" > "$out/install.log"
game="$root/usr/games/velmora"
[ -x "$game" ] || die "the install rules put no program in /usr/games"

# Icons at the sizes desktops ask for, drawn from the one scalable picture.
for size in 16 32 48 64 128 256; do
    mkdir -p "$root/usr/share/icons/hicolor/${size}x${size}/apps"
    rsvg-convert -w "$size" -h "$size" "$dist/$package.svg" -o "$root/usr/share/icons/hicolor/${size}x${size}/apps/$package.png"
done

# The manual page: the option table that -help prints, as groff. Hyphens of options are minus signs (\-), so
# that a reader can copy them; a backslash in the text must not start an escape.
man="$root/usr/share/man/man6"
mkdir -p "$man"
{
    cat <<EOF
.TH VELMORA 6 "$iso_date" "Velmora Row $version" "Games"
.SH NAME
velmora \\- run a busy clothing store (a time-management game)
.SH SYNOPSIS
.B velmora
.RI [ options ]
.SH DESCRIPTION
Velmora Row is a mouse-driven time-management game about a clothing store.
Customers look for garments, try them on in the changing rooms, queue and pay;
the player steers the merchant who restocks, serves and wraps gifts, to reach
each day's money goal.
.PP
Options start with one hyphen; those that take a value are written
.IB \-name = value\fR.
.SH OPTIONS
EOF
    "$game" -help | awk '
        # A backslash of the text must not start a groff escape; a leading dot or quote must not start a request.
        function escape(s,    parts, n, i, r) {
            n = split(s, parts, /\\/)
            r = parts[1]
            for (i = 2; i <= n; i++)
                r = r "\\e" parts[i]
            if (r ~ /^[.\047]/)
                r = "\\&" r
            return r
        }
        /^  -/ {
            option = escape($1)
            text = $0
            sub(/^  -[^ ]+ +/, "", text)
            text = escape(text)
            # Options named in the text are minus signs too.
            done = ""
            while (match(text, /[ (]-[a-z]/)) {
                done = done substr(text, 1, RSTART) "\\-"
                text = substr(text, RSTART + 2)
            }
            text = done text
            name = option
            value = ""
            if (index(option, "=") > 0) {
                name = substr(option, 1, index(option, "=") - 1)
                value = substr(option, index(option, "=") + 1)
            }
            print ".TP"
            if (value != "")
                print "\\fB\\-" substr(name, 2) "\\fR=\\fI" value "\\fR"
            else
                print "\\fB\\-" substr(name, 2) "\\fR"
            print text
        }'
    cat <<EOF
.SH FILES
.TP
.I /usr/share/games/$package/
the game's data: pictures, sounds, music, fonts and the store and level
definitions (also packed in main.pak).
.TP
.I ~/.config/Kestrin/Velmora Row/settings.ini
the settings (under \\fB\$XDG_CONFIG_HOME\\fR when it is set).
.TP
.I ~/.local/share/Kestrin/Velmora Row/
player profiles, saved runs, high scores and screenshots (under
\\fB\$XDG_DATA_HOME\\fR when it is set).
EOF
} > "$man/velmora.6"
grep -q '^\\fB\\-headless' "$man/velmora.6" || die "the manual page lacks the options of -help"
gzip -9nf "$man/velmora.6"

# Documentation in Debian's places and formats.
doc="$root/usr/share/doc/$package"
mkdir -p "$doc"
cp "$dist/copyright" "$doc/copyright"
gzip -9nc "$dist/changelog" > "$doc/changelog.gz"

# Screenshots taken by the game itself, headless and on its own clock, so every build shows the same pictures.
# name|caption|options
shots=(
    "day|Serving customers on a busy day|-level=1:2 -autoplay -seed=1 -ticks=9000"
    "title|The title screen|-screen=title -ticks=200"
    "shop|Upgrades between days|-screen=shop -ticks=200"
    "map|The stores of Velmora Row|-screen=map -ticks=200"
)
screenshot_xml=""
for entry in "${shots[@]}"; do
    IFS='|' read -r name caption options <<< "$entry"
    # shellcheck disable=SC2086 # the options are words on purpose
    (cd "$out" && "$game" -headless $options -shot="$out/screenshots/$name.png" > /dev/null 2>&1) \
        || die "the screenshot $name failed"
    [ -s "$out/screenshots/$name.png" ] || die "the screenshot $name is missing"
    kind=""
    [ -z "$screenshot_xml" ] && kind=' type="default"'
    screenshot_xml+="    <screenshot$kind>
      <caption>$caption</caption>
      <image type=\"source\" width=\"800\" height=\"600\">$shots_url/$name.png</image>
    </screenshot>
"
done

mkdir -p "$root/usr/share/metainfo"
metainfo="$root/usr/share/metainfo/$metainfo_id.metainfo.xml"
SHOTS="${screenshot_xml%$'\n'}" awk -v version="$version" -v date="$iso_date" -v homepage="$homepage" '
    /^@SCREENSHOTS@$/ { print ENVIRON["SHOTS"]; next }
    { gsub(/@VERSION@/, version); gsub(/@DATE@/, date); gsub(/@HOMEPAGE@/, homepage); print }
' "$dist/$package.metainfo.xml.in" > "$metainfo"

# Debian wants plain permissions whatever the umask of the build was.
find "$root" -type d -exec chmod 0755 {} +
find "$root" -type f -exec chmod 0644 {} +
chmod 0755 "$game"

# Dependencies: the libraries the program links, as dpkg-shlibdeps names their packages. It insists on reading a
# debian/control, which a package made without a source package does not have; a two-line one will do.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/debian"
printf 'Source: %s\n\nPackage: %s\nArchitecture: any\n' "$package" "$package" > "$work/debian/control"
shlibs=$(cd "$work" && dpkg-shlibdeps -O "$game" 2> "$work/errors") || die "dpkg-shlibdeps: $(cat "$work/errors")"
depends=$(sed -n 's/^shlibs:Depends=//p' <<< "$shlibs")
[ -n "$depends" ] || die "dpkg-shlibdeps found no dependencies"

mkdir -p "$root/DEBIAN"
(cd "$root" && find usr -type f -printf '%P\n' | LC_ALL=C sort | sed 's|^|usr/|' | xargs -d '\n' md5sum) \
    > "$root/DEBIAN/md5sums"
installed_size=$(du -sk --apparent-size "$root/usr" | cut -f1)
cat > "$root/DEBIAN/control" <<EOF
Package: $package
Version: $version
Architecture: $arch
Maintainer: $(sed -n 's/^ -- \(.*>\)  .*$/\1/p' "$dist/changelog" | head -1)
Installed-Size: $installed_size
Depends: $depends
Section: games
Priority: optional
Homepage: $homepage
Description: time-management game in a busy clothing store
 Velmora Row is a mouse-driven game about running a clothing store. Customers
 look for garments on racks, tables and mannequins, try them on in changing
 rooms, queue at the register or the service desk and pay; kept waiting, they
 lose patience and storm out.
 .
 The player steers the merchant to restock, serve, wrap gifts and tidy up, to
 reach each day's money goal. Stores open one after the other on a map, an
 upgrade shop between days sells furniture and clothing lines, and bonus days
 bring a memory game with mannequins.
EOF
chmod 0644 "$root/DEBIAN/control" "$root/DEBIAN/md5sums"

# The same sources give the same package: every file carries the changelog's time.
find "$root" -exec touch -h -d "@$SOURCE_DATE_EPOCH" {} +

deb="$out/${package}_${version}_${arch}.deb"
rm -f "$deb"
# gzip: the data are mostly compressed already (PNG, Ogg, the archive), and xz took ten times the time for 7% less.
dpkg-deb --root-owner-group -Zgzip -z9 --build "$root" "$deb" > /dev/null
echo "$deb"
