#!/bin/sh
# check_fetch_libical.sh SOURCE_TREE: the libical source is fetched through a
# private apt state from the machine's own mirror, with the checksum of the
# signed index, through an index that may be mid-sync; a second run fetches
# nothing. Stand-ins for apt-get and apt-helper log what they are asked.
set -u
src=$1
work=$(mktemp -d /tmp/calendar-fetch.XXXXXX)
trap 'rm -rf "$work"' EXIT
status=0

mkdir -p "$work/tarball/libical-3.0.16"
echo "project(libical)" >"$work/tarball/libical-3.0.16/CMakeLists.txt"
tar -czf "$work/upstream.tar.gz" -C "$work/tarball" libical-3.0.16
printf 'Types: deb\nURIs: http://mirror/debian\nSuites: bookworm bookworm-updates\nComponents: main\nSigned-By: /keys/debian.gpg\n\nTypes: deb\nURIs: http://mirror/debian-security\nSuites: bookworm-security\nComponents: main\nSigned-By: /keys/security.gpg\n' >"$work/debian.sources"

cat >"$work/apt-get" <<'STANDIN'
#!/bin/sh
echo "$*" >>"$APT_LOG"
case "$*" in
*" update")
    n=$(($(cat "$APT_COUNT" 2>/dev/null || echo 0) + 1))
    echo $n >"$APT_COUNT"
    if [ "$FAILS" = always ] || [ "$n" -le "$FAILS" ]; then
        echo "E: Failed to fetch http://mirror/debian/dists/bookworm/main/source/Sources.xz  File has unexpected size. Mirror sync in progress?"
        exit 100
    fi ;;
*" source --print-uris -qq libical3")
    echo "'http://mirror/debian/pool/main/libi/libical3/libical3_$VERSION.orig.tar.gz' libical3_$VERSION.orig.tar.gz 870000 SHA256:0123abcd" ;;
esac
exit 0
STANDIN
cat >"$work/apt-helper" <<'STANDIN'
#!/bin/sh
echo "$*" >>"$APT_LOG"
[ "$3" = download-file ] && [ "$6" = SHA256:0123abcd ] && cp "$UPSTREAM" "$5"
STANDIN
chmod +x "$work/apt-get" "$work/apt-helper"

# run NAME FAILS VERSION EXPECTED_STATUS: one fetch into $work/tree.
run() {
    rm -f "$work/log" "$work/count"
    APT_GET="$work/apt-get" APT_HELPER="$work/apt-helper" APT_LOG="$work/log" APT_COUNT="$work/count" \
        UPSTREAM="$work/upstream.tar.gz" FAILS=$2 VERSION=$3 CAL_APT_PAUSE=0 CAL_APT_TRIES=3 \
        CAL_APT_SOURCES="$work/debian.sources" sh "$src/scripts/fetch-libical" "$work/tree" >"$work/out" 2>&1
    got=$?
    if [ "$got" -ne "$4" ]; then
        echo "$1: exit status $got, wanted $4"
        cat "$work/out"
        status=1
    fi
}
check() { # check NAME CONDITION_TEXT COMMAND...
    name=$1 what=$2
    shift 2
    "$@" || { echo "$name: $what"; cat "$work/out"; status=1; }
}

run "an index that is mid-sync once" 1 3.0.16 0
check "first fetch" "the source is not unpacked" test -f "$work/tree/libical-3.0.16/CMakeLists.txt"
check "first fetch" "the index was not loaded twice" test "$(grep -c ' update$' "$work/log")" -eq 2
check "first fetch" "the private source list does not name the release's mirror and keyring" \
    grep -qx 'deb-src \[signed-by=/keys/debian.gpg\] http://mirror/debian bookworm main' "$work/tree/apt/sources.list"
check "first fetch" "an apt call without the private state and source list" \
    test "$(grep -c "Dir::State=$work/tree/apt .*Dir::Etc::SourceList\|Dir::Etc::SourceList=$work/tree/apt/sources.list .*Dir::State=$work/tree/apt" "$work/log")" -eq 3
check "first fetch" "the download was not checked against the index's checksum" \
    grep -q "download-file http://mirror/debian/pool/main/libi/libical3/libical3_3.0.16.orig.tar.gz .* SHA256:0123abcd" "$work/log"

run "a second fetch" 0 3.0.16 0
check "second fetch" "apt was asked again" test ! -s "$work/log"

rm -rf "$work/tree"
run "an index that never loads" always 3.0.16 1
check "no index" "the source was unpacked" test ! -d "$work/tree/libical-3.0.16"
run "an index without the version" 0 3.0.17 1
check "another version" "the source was unpacked" test ! -d "$work/tree/libical-3.0.16"
exit $status
