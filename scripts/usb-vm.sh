#!/usr/bin/env bash
# The usb-vm test stage: runs zr470ctl and the editor through the Linux
# kernel's own USB and HID stack. Our machines' kernel has no USB gadget
# modules, so this boots Debian's kernel in QEMU, where dummy_hcd and two
# configfs HID gadgets become real hidraw nodes, and runs
# scripts/usb-vm/guest-tests.sh there once, chrooted into this machine's
# file system (shared read-only over 9p). Each test's name, result and time
# comes back through a second, writable share.
#   scripts/usb-vm.sh [BUILD_DIR]     (default: build)
#   ZR470_VM_ONLY="devices batch-1000" scripts/usb-vm.sh   only these tests
# Outside CI a QEMU that cannot start at all skips loudly; with CI=true it
# fails. Any failing test fails the stage.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
cache=${ZR470_VM_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/zr470/usb-vm}
# The whole boot and every test; one stuck test has its own time-out in the guest.
vm_timeout=${ZR470_VM_TIMEOUT:-180}

cannot_run() {
  if [ "${CI:-}" = true ]; then
    echo "usb-vm: $1" >&2
    exit 1
  fi
  echo "!!!!!! usb-vm stage SKIPPED: $1 !!!!!!" >&2
  exit 0
}

command -v qemu-system-x86_64 >/dev/null || cannot_run "qemu-system-x86_64 is not installed (scripts/deps.sh)"
for tool in busybox cpio depmod dpkg-deb; do
  command -v "$tool" >/dev/null || { echo "usb-vm: $tool is missing (scripts/deps.sh)" >&2; exit 1; }
done
[ -x "$build/tools/zr470ctl" ] || { echo "usb-vm: build $build first" >&2; exit 1; }

# ---- Debian's kernel, unpacked into the cache, never installed --------------
# The meta package names the current kernel package; Debian drops old ones,
# so the version is looked up every time and an older unpacked tree is
# used only when the lookup fails (no package lists).
kernel_tree() {
  local pkg tree
  pkg=$(apt-cache depends linux-image-amd64 2>/dev/null | awk '/Depends: linux-image-[0-9]/ {print $2; exit}')
  if [ -z "$pkg" ]; then
    tree=$(ls -d "$cache"/linux-image-*/ 2>/dev/null | tail -n 1)
    [ -n "$tree" ] || { echo "usb-vm: apt-cache knows no linux-image-amd64" >&2; return 1; }
    echo "${tree%/}"
    return
  fi
  tree=$cache/$pkg
  if [ ! -f "$tree/.unpacked" ]; then
    mkdir -p "$cache"
    rm -rf "$tree" "$cache/${pkg}"_*.deb
    # -q: apt's lists of what it fetched are no news in a test log.
    (cd "$cache" && apt-get download -q "$pkg" >&2)
    dpkg-deb -x "$cache/${pkg}"_*.deb "$tree"
    rm -f "$cache/${pkg}"_*.deb
    touch "$tree/.unpacked"
  fi
  echo "$tree"
}

tree=$(kernel_tree)
kver=$(basename "$(ls -d "$tree"/lib/modules/*/)")
[ -f "$tree/lib/modules/$kver/modules.dep" ] || depmod -b "$tree" "$kver"
modules=$tree/lib/modules/$kver

# ---- initramfs: busybox, the init script and the modules in load order -------
declare -A mod_path mod_deps loaded
while IFS=: read -r path deps; do
  name=${path##*/}
  name=${name%.ko}
  mod_path[${name//-/_}]=$path
  mod_deps[${name//-/_}]=$deps
done <"$modules/modules.dep"

load_order=()
want() {
  local name=${1//-/_} dep
  [ -z "${loaded[$name]:-}" ] || return 0
  loaded[$name]=1
  if [ -z "${mod_path[$name]:-}" ]; then
    grep -q "/$1.ko\$" "$modules/modules.builtin" && return 0
    echo "usb-vm: module $1 is neither in modules.dep nor built in" >&2
    exit 1
  fi
  for dep in ${mod_deps[$name]}; do
    dep=${dep##*/}
    want "${dep%.ko}"
  done
  load_order+=("${mod_path[$name]}")
}
# Without hid-generic no hidraw node appears.
for m in virtio_pci 9pnet_virtio 9p configfs dummy_hcd libcomposite usb_f_hid usbhid hid-generic; do
  want "$m"
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
initrd=$work/initrd
mkdir -p "$initrd/bin" "$initrd/modules"
cp "$(command -v busybox)" "$initrd/bin/busybox"
cp "$root/scripts/usb-vm/init" "$initrd/init"
for path in "${load_order[@]}"; do
  cp "$modules/$path" "$initrd/modules/"
  params=""
  # Two controllers, one a gadget.
  [ "$(basename "$path")" = dummy_hcd.ko ] && params="num=2"
  echo "$(basename "$path") $params" >>"$initrd/modules/load"
done
(cd "$initrd" && find . | cpio -o -H newc --quiet | gzip -1) >"$work/initrd.gz"

# ---- boot once, run every guest test --------------------------------------------
# Kept after the run: the console and every test's log.
results=$build/usb-vm
# The kernel's command line splits at spaces: the guest gets a comma list.
only=${ZR470_VM_ONLY:-}
only=${only// /,}
run_vm() {  # ACCEL TIMEOUT: 0 when the guest finished, 1 otherwise
  rm -rf "$results"
  mkdir -p "$results"
  timeout --kill-after=5 "$2" qemu-system-x86_64 -accel "$1" -m 1536 -smp 2 -nographic -no-reboot \
    -kernel "$tree/boot/vmlinuz-$kver" -initrd "$work/initrd.gz" \
    -append "console=ttyS0 quiet panic=-1 zr470_guest=$root/scripts/usb-vm/guest-tests.sh zr470_build=$build zr470_only=$only" \
    -virtfs local,path=/,mount_tag=hostroot,security_model=none,readonly=on,multidevs=remap \
    -virtfs "local,path=$results,mount_tag=results,security_model=none,multidevs=remap" \
    </dev/null >"$results/console.log" 2>&1 &
  local pid=$! waited=0
  # KVM was seen to hang at boot: it gets a short time to come up.
  while [ "$1" = kvm ] && [ ! -f "$results/booted" ] && kill -0 "$pid" 2>/dev/null; do
    sleep 1
    waited=$((waited + 1))
    if [ "$waited" -ge 15 ]; then
      kill "$pid" 2>/dev/null || true
      break
    fi
  done
  wait "$pid" || true
  [ -f "$results/done" ]
}

started=$(date +%s)
accel=tcg
if [ -r /dev/kvm ] && [ -w /dev/kvm ] && run_vm kvm "$vm_timeout"; then
  accel=kvm
elif ! run_vm tcg "$vm_timeout" && [ ! -f "$results/booted" ]; then
  tail -n 20 "$results/console.log" >&2
  # The firmware's banner: QEMU ran, so the fault is ours (kernel, initramfs).
  grep -q SeaBIOS "$results/console.log" || cannot_run "QEMU did not start (console above)"
  echo "usb-vm: the guest did not come up (console above)" >&2
  exit 1
fi

echo "usb-vm: Debian kernel $kver under $accel, $(( $(date +%s) - started )) s in all"
failed=0
if [ -f "$results/summary" ]; then
  while read -r result name seconds; do
    printf '  %-4s %-28s %6s s\n' "$result" "$name" "$seconds"
    if [ "$result" != PASS ]; then
      failed=1
      sed 's/^/      | /' "$results/$name.log" | tail -n 30
    fi
  done <"$results/summary"
fi
if [ ! -f "$results/done" ]; then
  echo "usb-vm: the guest did not finish its tests (console below)" >&2
  tail -n 30 "$results/console.log" >&2
  exit 1
fi
[ "$failed" = 0 ] || { echo "usb-vm: a test failed" >&2; exit 1; }
echo "usb-vm: every test passed"
