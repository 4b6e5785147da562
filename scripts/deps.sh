#!/usr/bin/env bash
# Installs every Debian package the build and the tests need. Idempotent:
# it asks apt only for what is missing, and refreshes the package lists only
# then.
set -euo pipefail

packages=(
  build-essential   # g++ and make
  cmake             # the build
  ninja-build       # the generator ./test.sh and ./run.sh use
  ccache            # compiler cache: a second ./test.sh compiles almost nothing
  pkg-config
  libgtest-dev      # GoogleTest: unit, link and widget tests
  libbenchmark-dev  # Google Benchmark: bench/
  clang             # libFuzzer targets in fuzz/
  libhidapi-dev     # hidapi (hidraw backend): the USB HID link to the processor
  qt6-base-dev      # Qt 6 Widgets and PrintSupport: the editor and its printed report
  libxlsxwriter-dev # libxlsxwriter: the report's .xlsx export
  nlohmann-json3-dev  # nlohmann-json: the JSON zr470ctl prints (and its tests read), the venue file
  libssl-dev        # OpenSSL libcrypto: SHA-256 of the venue backups in their manifest; zr470d's TLS and token hashes
  libboost-dev      # Boost.Beast on Boost.Asio (header-only): zr470d's HTTP and WebSocket server
  python3-websockets  # the README's WebSocket client for zr470d, which a test runs
  fonts-liberation  # Liberation Sans, metric-compatible with Arial, for the skin and forms
  fonts-noto-cjk    # the Chinese texts
  xvfb              # xvfb-run: screenshots of the editor
  xauth             # needed by xvfb-run
  imagemagick       # import: screenshots under Xvfb
  desktop-file-utils  # desktop-file-validate: test.sh checks the menu entry
  appstream         # appstreamcli: test.sh validates the AppStream metainfo
  dpkg-dev          # dpkg-shlibdeps: cpack declares the .deb's library dependencies
  poppler-utils     # pdftotext, pdftoppm: the report tests read the printed PDF back
  python3-openpyxl  # the report tests read the exported .xlsx back with a real reader
  qemu-system-x86   # the usb-vm stage boots Debian's kernel (USB gadget modules) in QEMU
  busybox-static    # the usb-vm guest's initramfs: its shell and tools
  cpio              # packs that initramfs
  kmod              # depmod: the load order of the guest's modules
  udev              # udevd in the usb-vm guest applies our udev rules to the real hidraw nodes
  chromium          # the browser stage: playwright-core drives Debian's Chromium through the staff page
)
# The browser stage runs playwright-core on Node. Debian's nodejs and npm only
# where the machine has none: a Node that brings its own npm conflicts with
# Debian's npm package.
command -v node >/dev/null || packages+=(nodejs)
command -v npm >/dev/null || packages+=(npm)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

sudo=""
if [ "$(id -u)" -ne 0 ]; then
  sudo="sudo"
fi
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
