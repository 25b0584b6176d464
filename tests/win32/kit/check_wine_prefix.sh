#!/bin/sh
# check_wine_prefix.sh SOURCE_TREE: prefixes are copies of one base made per
# machine. Stand-ins for wine, wineboot and wineserver make a base as Wine
# lays it out (its registry in text files) and count how often it was made.
set -u
src=$1
work=$(mktemp -d /tmp/calendar-prefix.XXXXXX)
trap 'rm -rf "$work"' EXIT
status=0
mkdir -p "$work/bin"

cat >"$work/bin/wineboot" <<'STANDIN'
#!/bin/sh
echo boot >>"$BOOTS"
sleep 1
[ "${BOOT_FAILS:-}" = yes ] && exit 1
# The colours' section as Wine may leave it, empty: the values are added.
printf '%s\n%s\n\n' '[Control Panel\\Colors] 1' '#time=1' >"$WINEPREFIX/user.reg"
printf '[Control Panel\\\\Desktop] 1\n"LogPixels"=dword:00000060\n' >>"$WINEPREFIX/user.reg"
printf '[System\\\\CurrentControlSet\\\\Hardware Profiles\\\\Current\\\\Software\\\\Fonts] 1\n"LogPixels"=dword:00000060\n' \
    >"$WINEPREFIX/system.reg"
STANDIN
cat >"$work/bin/wine" <<'STANDIN'
#!/bin/sh
[ "$1" = --version ] && { echo "${WINE_VERSION:-wine-1}"; exit 0; }
case "$*" in *"X11 Driver"*) printf '[Software\\\\Wine\\\\X11 Driver] 1\n"Managed"="N"\n' >>"$WINEPREFIX/user.reg" ;; esac
STANDIN
printf '#!/bin/sh\n' >"$work/bin/wineserver"
chmod +x "$work/bin/"*
export PATH="$work/bin:$PATH" BOOTS="$work/boots" CAL_WINE_CACHE="$work/cache" DISPLAY=:fake

prefix() { sh "$src/scripts/wine-prefix" "$@" 2>"$work/said"; }
boots() { wc -l <"$BOOTS" 2>/dev/null || echo 0; }
fail() { echo "$1"; cat "$work/said"; status=1; }
value() {
    S="[$2]" N="\"$3\"=" awk 'index($0, "[") == 1 { i = index($0, ENVIRON["S"]) == 1 }
        i && index($0, ENVIRON["N"]) == 1 { print substr($0, length(ENVIRON["N"]) + 1) }' "$1"
}

# A base killed half made is never used, nor one that wineboot failed to make.
BOOT_FAILS=yes prefix "$work/clone0/p" && fail "a failed wineboot gave a prefix"
ls -d "$work/cache"/*.part >/dev/null 2>&1 || fail "the half-made base was not left as .part"
[ "$(ls -d "$work/cache"/* | grep -cv '\.part$\|\.lock$')" -eq 0 ] || fail "a half-made base got the key's name"

# Two runs on a cold cache at once: the base is made once, whole, and both copy it.
: >"$BOOTS"
prefix "$work/clone1/p" & prefix "$work/clone1/q"
wait
[ "$(boots)" -eq 1 ] || fail "two runs made the base $(boots) times"
for p in p q; do
    [ "$(value "$work/clone1/$p/user.reg" 'Software\\Wine\\X11 Driver' Managed)" = '"N"' ] || fail "clone1/$p is not a copy of the base"
done

# A fresh clone reuses it and says so; a ready prefix is left alone.
prefix "$work/clone2/p" && grep -q 'reusing the cached base prefix' "$work/said" || fail "a second clone did not say it reused the base"
[ "$(boots)" -eq 1 ] || fail "a second clone made the base again"
prefix "$work/clone2/p" && [ ! -s "$work/said" ] || fail "a ready prefix was made again"

# A screen's prefix is a copy with its setting written in; the base keeps the defaults.
CAL_LOGPIXELS=144 prefix "$work/clone2/dpi144"
[ "$(value "$work/clone2/dpi144/user.reg" 'Control Panel\\Desktop' LogPixels)" = dword:00000090 ] &&
    [ "$(value "$work/clone2/dpi144/system.reg" 'System\\CurrentControlSet\\Hardware Profiles\\Current\\Software\\Fonts' LogPixels)" = dword:00000090 ] ||
    fail "the 144 dpi prefix does not say 144"
CAL_SCHEME=high-contrast prefix "$work/clone2/contrast"
[ "$(value "$work/clone2/contrast/user.reg" 'Control Panel\\Colors' Window)" = '"0 0 0"' ] &&
    [ "$(value "$work/clone2/contrast/user.reg" 'Control Panel\\Colors' Hilight)" = '"26 235 255"' ] ||
    fail "the high-contrast prefix has not the scheme's colours"
base=$(prefix --base)
[ "$(value "$base/user.reg" 'Control Panel\\Desktop' LogPixels)" = dword:00000060 ] || fail "a screen's setting reached the base"
[ "$(boots)" -eq 1 ] || fail "a screen's prefix made a base"

# The same folder asked for another screen is made again, as that screen.
CAL_LOGPIXELS=192 prefix "$work/clone2/dpi144"
[ "$(value "$work/clone2/dpi144/user.reg" 'Control Panel\\Desktop' LogPixels)" = dword:000000c0 ] || fail "a prefix kept an old screen"

# Another Wine version is another base.
WINE_VERSION=wine-2 prefix "$work/clone3/p"
[ "$(boots)" -eq 2 ] || fail "a new Wine version reused the old base"

exit $status
