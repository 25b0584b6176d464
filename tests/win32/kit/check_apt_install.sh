#!/bin/sh
# check_apt_install.sh SOURCE_TREE: the bootstrap's installs get through a
# package index that is mid-sync, and stop naming what cannot be had.
# A stand-in apt-get fails as a mirror does mid-sync: `update` loses the
# security suite's i386 index for the first FAILS calls (all of them when
# FAILS is "always"), and an install of both halves of a multi-arch pair goes
# through only with that suite held below the release.
set -u
src=$1
work=$(mktemp -d /tmp/calendar-apt.XXXXXX)
trap 'rm -rf "$work"' EXIT
status=0

cat >"$work/apt-get" <<'STANDIN'
#!/bin/sh
echo "$*" >>"$APT_LOG"
case "$*" in
*" update"* | update)
    n=$(($(cat "$APT_COUNT" 2>/dev/null || echo 0) + 1))
    echo $n >"$APT_COUNT"
    if [ "$FAILS" = always ] || [ "$n" -le "$FAILS" ]; then
        echo "Err:6 http://mirror/debian-security bookworm-security/main i386 Packages"
        echo "E: Failed to fetch http://mirror/debian-security/dists/bookworm-security/main/binary-i386/Packages.xz  File has unexpected size (374820 != 376004). Mirror sync in progress?"
        exit 100
    fi
    exit 0 ;;
esac
for word in "$@"; do
    case "$word" in
    no-such-package)
        echo "E: Unable to locate package no-such-package"
        exit 100 ;;
    Dir::Etc::Preferences=*)
        prefs=${word#*=}
        cp "$prefs" "$APT_PREFS_SEEN" ;;
    esac
done
if [ "$FAILS" = always ] && ! grep -q 'Pin: release n=bookworm-security' "${prefs:-/dev/null}"; then
    echo " wine32:i386 : Depends: libssl3:i386 but it is not going to be installed"
    echo "E: Unable to correct problems, you have held broken packages."
    exit 100
fi
exit 0
STANDIN
chmod +x "$work/apt-get"

# case NAME FAILS EXPECTED_STATUS PACKAGES...: one run of the installer.
run() {
    name=$1 fails=$2 expected=$3
    shift 3
    rm -f "$work/log" "$work/count" "$work/prefs"
    APT_GET="$work/apt-get" APT_LOG="$work/log" APT_COUNT="$work/count" APT_PREFS_SEEN="$work/prefs" \
        FAILS=$fails CAL_APT_PAUSE=0 CAL_APT_TRIES=3 TMPDIR="$work" \
        sh "$src/scripts/apt-install" "$@" >"$work/out" 2>&1
    got=$?
    updates=$(grep -c 'update' "$work/log")
    installs=$(grep -c 'install -y' "$work/log")
    if [ "$got" -ne "$expected" ]; then
        echo "$name: exit status $got, wanted $expected"
        cat "$work/out"
        status=1
    fi
}
fail() { echo "$1: $2"; cat "$work/out"; status=1; }

# The index loads on the third try: no hold is needed.
run retry 2 0 wine32:i386
[ "$updates" -eq 3 ] || fail retry "update tried $updates times, wanted 3"
[ "$installs" -eq 1 ] || fail retry "installed $installs times, wanted 1"
[ ! -f "$work/prefs" ] || fail retry "held a suite back when every index loaded"

# It never loads: after three tries the install goes on with the security
# suite held at 100, in a file apt is handed for that call alone.
run hold always 0 wine wine32:i386
[ "$updates" -eq 3 ] || fail hold "update tried $updates times, wanted 3"
[ "$installs" -eq 2 ] || fail hold "installed $installs times, wanted 2 (plain, then held)"
grep -q 'Pin: release n=bookworm-security' "$work/prefs" 2>/dev/null && grep -q 'Pin-Priority: 100' "$work/prefs" ||
    fail hold "the security suite was not held at 100"
grep -q 'bookworm-security' "$work/out" || fail hold "did not say which suite it held back"
ls "$work"/tmp.* >/dev/null 2>&1 && fail hold "left its preferences behind"
cmp -s /etc/apt/preferences "$work/prefs" 2>/dev/null && fail hold "wrote the machine's own preferences"

# What cannot be had is named, alone, and the run fails.
run refuse 0 1 wine no-such-package
grep -q 'cannot install: no-such-package$' "$work/out" || fail refuse "did not name the package it cannot install"

exit $status
