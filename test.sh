#!/usr/bin/env bash
# Installs what is missing, builds, runs every test; then builds and runs the
# core and widget tests again under AddressSanitizer + UndefinedBehaviorSanitizer
# and the core tests under ThreadSanitizer (Qt itself is not built for it).
# Any failure ends the run with a non-zero status.
#   ./test.sh --quick   only the Release build and its tests
# After the Release stage the usb-vm stage runs the programs through the
# kernel's USB and HID stack in a virtual machine (scripts/usb-vm.sh).
set -euo pipefail
cd "$(dirname "$0")"

quick=0
case "${1:-}" in
  --quick) quick=1 ;;
  "") ;;
  *) echo "usage: $0 [--quick]" >&2; exit 2 ;;
esac

./scripts/deps.sh

jobs=$(nproc 2>/dev/null || echo 2)
# The slowest tests mostly wait on the link's fixed pauses, not on the CPU
# (they take as long under the sanitizers as without): four tests a core
# keep the cores busy. The longest start first (see tests/CMakeLists.txt).
test_jobs=$((jobs * 4))
# Ninja schedules the many small targets better than make: about a minute
# less for each build tree. Trees configured earlier keep their generator.
export CMAKE_GENERATOR=Ninja

# The trees compile through ccache (CMakeLists.txt finds it). Paths below
# this folder are rewritten relative to it, and the debug information does
# not name the build folder in the key, so a clone in another folder reuses
# what this one compiled. The precompiled headers need the sloppiness: a
# header's time stamps and __DATE__/__TIME__ do not change what we compile.
export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$PWD}"
export CCACHE_NOHASHDIR=1
export CCACHE_SLOPPINESS="${CCACHE_SLOPPINESS:-pch_defines,time_macros,include_file_mtime,include_file_ctime}"

echo "== build and test =="
# Release, as packagers build it, with warnings as errors.
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DZR470_WERROR=ON
cmake --build build -j"$jobs"
ctest --test-dir build --output-on-failure -j"$test_jobs"

echo "== install tree, desktop files and the .deb =="
stage=$(mktemp -d)
cmake --install build --prefix "$stage/usr" >/dev/null
for f in usr/bin/zr470 usr/bin/zr470ctl usr/lib/udev/rules.d/70-zr470.rules \
         usr/lib/udev/rules.d/71-zr470-plugdev.rules \
         usr/share/applications/org.zr470.Editor.desktop usr/share/icons/hicolor/scalable/apps/zr470.svg \
         usr/share/icons/hicolor/256x256/apps/zr470.png usr/share/metainfo/org.zr470.Editor.metainfo.xml \
         usr/share/doc/zr470/manual/index.html usr/share/man/man1/zr470ctl.1 \
         usr/bin/zr470d usr/share/man/man1/zr470d.1 usr/lib/systemd/system/zr470d.service \
         usr/share/zr470/web/index.html; do
  [ -f "$stage/$f" ] || { echo "not installed: $f" >&2; exit 1; }
done
rm -rf "$stage"
desktop-file-validate packaging/org.zr470.Editor.desktop
appstreamcli validate --no-net packaging/org.zr470.Editor.metainfo.xml >/dev/null
(cd build && cpack -G DEB >/dev/null)
deb=$(ls build/zr470_*.deb)
contents=$(dpkg-deb -c "$deb")
for f in ./usr/bin/zr470 ./usr/bin/zr470ctl ./usr/share/applications/org.zr470.Editor.desktop \
         ./usr/share/doc/zr470/manual/index.html ./usr/lib/udev/rules.d/70-zr470.rules \
         ./usr/lib/udev/rules.d/71-zr470-plugdev.rules ./usr/share/zr470/web/index.html; do
  grep -q " $f\$" <<<"$contents" || { echo "$deb lacks $f" >&2; exit 1; }
done
dpkg-deb -f "$deb" Depends | grep -q libqt6widgets6 || { echo "$deb declares no Qt dependency" >&2; exit 1; }

if [ "$quick" = 1 ]; then
  echo "== Release tests passed (quick run: no usb-vm stage, no sanitizer builds, no fuzzing) =="
  exit 0
fi

echo "== browser: the staff page in Chromium against zr470d and two virtual processors =="
# playwright-core as the lock file pins it (npm's cache serves a second run).
started=$SECONDS
(cd tests/browser && npm ci --no-audit --no-fund --prefer-offline --loglevel=error && ZR470_BUILD="$PWD/../../build" npm test)
echo "browser stage: $((SECONDS - started)) s"

echo "== usb-vm: zr470ctl and the editor through the kernel's USB HID stack =="
./scripts/usb-vm.sh build

echo "== core and widget tests under asan =="
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DZR470_SANITIZE=asan -DZR470_BUILD_BENCH=OFF -DZR470_WERROR=ON
cmake --build build-asan --target core_tests gui_tests -j"$jobs"
ctest --test-dir build-asan -L 'core|gui' --output-on-failure -j"$test_jobs"

echo "== core tests under tsan =="
cmake -S . -B build-tsan -DCMAKE_BUILD_TYPE=Debug -DZR470_SANITIZE=tsan -DZR470_BUILD_BENCH=OFF -DZR470_WERROR=ON
cmake --build build-tsan --target core_tests -j"$jobs"
# TSan needs a fixed address layout on newer kernels.
if command -v setarch >/dev/null; then
  setarch "$(uname -m)" -R ctest --test-dir build-tsan -L core --output-on-failure -j"$test_jobs"
else
  ctest --test-dir build-tsan -L core --output-on-failure -j"$test_jobs"
fi
echo "== fuzz targets, short run under ASan/UBSan =="
CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZR470_BUILD_FUZZ=ON -DZR470_BUILD_BENCH=OFF -DZR470_WERROR=ON
cmake --build build-fuzz --target fuzz_targets -j"$jobs"
fuzz_seconds=${ZR470_FUZZ_SECONDS:-10}
# A failing input is kept here, to replay with the target: TARGET FILE.
mkdir -p build-fuzz/artifacts
# One target a core at a time, each for the full time.
fuzz_one() {
  local target=$1 name corpus log
  name=$(basename "$target")
  corpus=$(mktemp -d)
  if [ -d "fuzz/corpus/$name" ]; then
    cp -r "fuzz/corpus/$name/." "$corpus/"
  fi
  log="$corpus.log"
  if ! "$target" -max_total_time="$fuzz_seconds" -max_len=50000 -artifact_prefix=build-fuzz/artifacts/ \
       "$corpus" >"$log" 2>&1; then
    echo "-- $name (${fuzz_seconds}s)"
    tail -n 40 "$log"
    echo "fuzz target $name failed" >&2
    rm -rf "$corpus"
    return 1
  fi
  echo "-- $name (${fuzz_seconds}s)"
  tail -n 2 "$log"
  rm -rf "$corpus" "$log"
}
targets=()
for target in build-fuzz/fuzz/fuzz_*; do
  [ -x "$target" ] && targets+=("$target")
done
failed=0
for ((i = 0; i < ${#targets[@]}; i += jobs)); do
  pids=()
  for target in "${targets[@]:i:jobs}"; do
    fuzz_one "$target" &
    pids+=($!)
  done
  for pid in "${pids[@]}"; do
    wait "$pid" || failed=1
  done
  [ "$failed" = 0 ] || exit 1
done
echo "fuzz targets run: ${#targets[@]}"

echo "== all tests passed =="
