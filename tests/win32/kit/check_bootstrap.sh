#!/bin/sh
# check_bootstrap.sh SOURCE_TREE: `make demo` needs none of the test tools.
# Its bootstrap mode lists only the demo's packages; the full mode adds the
# test tools; and the demo's configuration (CAL_TESTS off) configures with
# no googletest on the machine and offers the library and the panel host.
set -u
src=$1
status=0
demo=$(sh "$src/scripts/bootstrap" --list demo) || exit 1
all=$(sh "$src/scripts/bootstrap" --list all) || exit 1
echo "demo installs:" $demo
for p in cmake make g++-mingw-w64-i686 binutils-mingw-w64-i686 wine wine32:i386 xvfb xauth; do
    echo "$demo" | grep -qx "$p" || { echo "the demo lacks $p"; status=1; }
done
for p in g++ googletest clang libclang-rt-dev llvm libbenchmark-dev libpng-tools libical-dev \
    fonts-noto-core fonts-wqy-microhei; do
    echo "$demo" | grep -qx "$p" && { echo "the demo installs the test tool $p"; status=1; }
    echo "$all" | grep -qx "$p" || { echo "the tests lack $p"; status=1; }
done

# The demo's configuration, with googletest pointed nowhere.
dir=$(mktemp -d /tmp/calendar-demo-config.XXXXXX)
if cmake -S "$src" -B "$dir" -DCAL_TESTS=OFF -DGTEST_SOURCE_DIR=/nonexistent \
    -DCMAKE_TOOLCHAIN_FILE="$src/cmake/mingw-w64-i686.cmake" >"$dir.log" 2>&1; then
    targets=$(cmake --build "$dir" --target help | sed -n 's/^\.\.\. \([^ ]*\).*/\1/p')
    for t in Calendar PanelHost; do
        echo "$targets" | grep -qx "$t" || { echo "the demo's configuration has no $t"; status=1; }
    done
    for t in gtest tool_window_test host_e2e_test calendar_bench; do
        echo "$targets" | grep -qx "$t" && { echo "the demo's configuration builds $t"; status=1; }
    done
else
    cat "$dir.log"
    echo "the demo's configuration needs googletest"
    status=1
fi
rm -rf "$dir" "$dir.log"
exit $status
