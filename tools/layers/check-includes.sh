#!/usr/bin/env bash
# Checks the #include lines of framework/ and game/ against the layer rules (tools/layers/include-layers.txt):
# which folder may include which. Prints every offending line as file:line: text and fails when there is one. The
# rules themselves must keep the folders in layers: rules that let folders include each other in a circle fail too.
#   bash tools/layers/check-includes.sh [source root] [rules file]
set -euo pipefail
root=${1:-$(cd "$(dirname "$0")/../.." && pwd)}
rules=${2:-$root/tools/layers/include-layers.txt}
[ -f "$rules" ] || { echo "no rules file: $rules" >&2; exit 2; }
rules=$(cd "$(dirname "$rules")" && pwd)/$(basename "$rules")
cd "$root"
files=$(find framework game -type f \( -name '*.h' -o -name '*.cpp' \) 2>/dev/null | LC_ALL=C sort)
[ -n "$files" ] || { echo "no sources below $root" >&2; exit 2; }
bad=0
# shellcheck disable=SC2086
awk -v rules="$rules" '
function dirof(p) { sub(/\/[^\/]*$/, "", p); return p }
function allows(key, inc, incdir) { return (key in may) && (index(may[key], " " inc " ") || index(may[key], " " incdir " ")) }
BEGIN {
    while ((getline line < rules) > 0) {
        sub(/#.*/, "", line)
        if (line ~ /^[ \t]*$/) continue
        if (line ~ /^system /) { n = split(line, w, /[ \t]+/); sysonly[w[2]] = w[3]; continue }
        if (line ~ /^layer /) continue
        split(line, part, ":")
        key = part[1]; gsub(/[ \t]/, "", key)
        may[key] = " " part[2] " "
        gsub(/[ \t]+/, " ", may[key])
    }
    bad = 0
}
FNR == 1 { file = FILENAME; dir = dirof(file) }
/^[ \t]*#[ \t]*include[ \t]*</ {
    for (prefix in sysonly) {
        if (index($0, "<" prefix) && dir != sysonly[prefix]) {
            printf "%s:%d: %s    (only %s includes %s)\n", file, FNR, $0, sysonly[prefix], prefix; bad = 1
        }
    }
    next
}
/^[ \t]*#[ \t]*include[ \t]*"/ {
    inc = $0; sub(/^[^"]*"/, "", inc); sub(/".*/, "", inc)
    if (inc !~ /^(framework|game)\//) next
    incdir = dirof(inc)
    if (incdir == dir) next
    if (!(dir in may) && !(file in may)) {
        printf "%s:%d: %s    (%s has no layer rule)\n", file, FNR, $0, dir; bad = 1; next
    }
    if (allows(dir, inc, incdir) || allows(file, inc, incdir) || allows("*", inc, incdir)) next
    printf "%s:%d: %s    (%s may not include %s)\n", file, FNR, $0, dir, incdir; bad = 1
}
END {
    if (bad) {
        message = "include layering broken: see the lines above and " rules
        print message > "/dev/stderr"
    }
    exit bad
}' $files || bad=1

# Every rule is an edge from a folder (a file's rule counts for its folder) to a folder (a header counts for its
# folder), and the folders of a "layer" line count as one; tsort names the folders of any circle.
circle=$(awk '
function dirof(p) { sub(/\/[^\/]*$/, "", p); return p }
function node(p) { return (p in layerof) ? layerof[p] : p }
{ sub(/#.*/, "") }
FNR == NR {
    if ($0 ~ /^layer /) for (i = 3; i <= NF; i++) layerof[$i] = $2
    next
}
$0 ~ /^[ \t]*$/ || $0 ~ /^(system|layer) / { next }
{
    split($0, part, ":")
    key = part[1]; gsub(/[ \t]/, "", key)
    if (key == "*") next
    if (key ~ /\.(h|cpp)$/) key = dirof(key)
    n = split(part[2], target, /[ \t]+/)
    for (i = 1; i <= n; i++) {
        to = target[i]
        if (to == "") continue
        if (to ~ /\.h$/) to = dirof(to)
        if (node(to) != node(key)) print node(key), node(to)
    }
}' "$rules" "$rules" | tsort 2>&1 >/dev/null | grep -v 'input contains a loop' | sed 's/^tsort: //' | paste -sd' ' -) || true
if [ -n "$circle" ]; then
    echo "$rules: these folders may include each other in a circle: $circle"
    bad=1
fi
exit $bad
