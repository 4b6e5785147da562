#!/usr/bin/env bash
# Installs what is missing, builds and starts the editor. Without arguments
# it runs on the built-in virtual processor; any arguments go to the editor
# (for example: ./run.sh --device usb, ./run.sh --device tcp:192.168.1.20:4700).
set -euo pipefail
cd "$(dirname "$0")"

./scripts/deps.sh
export CMAKE_GENERATOR=Ninja  # a tree configured earlier keeps its generator
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j"$(nproc 2>/dev/null || echo 2)" --target zr470 zr470ctl
if [ $# -eq 0 ]; then
  set -- --device virtual
fi
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "No display found: the editor needs a desktop session (or run it under xvfb-run -a)." >&2
  exit 1
fi
exec ./build/src/zr470 "$@"
