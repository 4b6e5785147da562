#!/bin/bash
# The usb-vm stage's tests, run once inside the guest (scripts/usb-vm.sh),
# as root, chrooted into the host's tree: the build's own programs reach two
# virtual processors through dummy_hcd, usbhid, hidraw and hidapi.
#   guest-tests.sh RESULTS BUILD
# Each test runs in sequence with its own time-out; RESULTS/summary gets a
# line "PASS|FAIL NAME SECONDS" for each and RESULTS/NAME.log its output;
# RESULTS/done marks the end.
set -uo pipefail
results=$1
build=$2
export packaging
packaging=$(cd "$(dirname "$0")/../../packaging" && pwd)
export ctl=$build/tools/zr470ctl
export work=/tmp/zr470
export gadgets=/sys/kernel/config/usb_gadget
export HOME=$work LC_ALL=C.UTF-8
mkdir -p "$work"
exec >"$results/guest.log" 2>&1

# ---- the two processors ------------------------------------------------------
# Vendor page, one 64-byte input and one 64-byte output report, no report ids.
export report_descriptor='\x06\x00\xff\x09\x01\xa1\x01\x15\x00\x26\xff\x00\x75\x08\x95\x40\x09\x01\x81\x02\x95\x40\x09\x01\x91\x02\xc0'

make_gadget() {  # NAME SERIAL CONTROLLER
  local dir=$gadgets/$1
  mkdir -p "$dir/strings/0x409" "$dir/functions/hid.usb0" "$dir/configs/c.1"
  echo 0x0483 >"$dir/idVendor"
  echo 0x5750 >"$dir/idProduct"
  echo 0x0200 >"$dir/bcdDevice"
  echo "$2" >"$dir/strings/0x409/serialnumber"
  echo "ZR-470" >"$dir/strings/0x409/product"
  echo 64 >"$dir/functions/hid.usb0/report_length"
  printf "$report_descriptor" >"$dir/functions/hid.usb0/report_desc"
  ln -s "$dir/functions/hid.usb0" "$dir/configs/c.1/"
  echo "$3" >"$dir/UDC"
}

hidg_node() {  # NAME: the gadget's /dev/hidgN, found by its device number
  local dev
  dev=$(cat "$gadgets/$1/functions/hid.usb0/dev")
  echo "/dev/$(sed -n 's/^DEVNAME=//p' "/sys/dev/char/$dev/uevent")"
}

# Emulator of gadget NAME with fault options; waits until it serves.
start_emulator() {  # NAME [OPTIONS...]
  local name=$1
  shift
  stop_emulator "$name"
  "$ctl" emulate --hidg "$(hidg_node "$name")" --gadget "$gadgets/$name" "$@" >"$work/emulator-$name.log" 2>&1 &
  echo $! >"$work/emulator-$name.pid"
  for _ in $(seq 100); do
    grep -q "serving on" "$work/emulator-$name.log" && return 0
    sleep 0.05
  done
  echo "emulator $name did not start:"
  cat "$work/emulator-$name.log"
  return 1
}

stop_emulator() {  # NAME
  [ -f "$work/emulator-$1.pid" ] || return 0
  kill "$(cat "$work/emulator-$1.pid")" 2>/dev/null
  wait "$(cat "$work/emulator-$1.pid")" 2>/dev/null
  rm -f "$work/emulator-$1.pid"
}

# Waits until N processors are listed (the kernel and udev are done with them).
wait_for_devices() {  # N
  for _ in $(seq 100); do
    udevadm settle -t 5 || return 1
    [ "$("$ctl" devices | grep -c "may open")" = "$1" ] && return 0
    sleep 0.1
  done
  echo "expected $1 processors:"
  "$ctl" devices
  return 1
}

path_of() {  # SERIAL
  "$ctl" devices | awk -v s="$1" '$3 == s {print $1}'
}

fail() {
  echo "FAILED: $*"
  exit 1
}

# ---- the tests ---------------------------------------------------------------
test_devices() {
  local list json
  list=$("$ctl" devices)
  echo "$list"
  [ "$(wc -l <<<"$list")" = 2 ] || fail "two processors expected"
  for s in A B; do
    grep -Eq "^/dev/hidraw[0-9]+  serial $s  may open  ZR-470\$" <<<"$list" || fail "serial $s not listed"
  done
  json=$("$ctl" --json devices)
  echo "$json"
  python3 - "$json" <<'EOF' || fail "JSON list"
import json, sys
devices = json.loads(sys.argv[1])
assert sorted(d["serial"] for d in devices) == ["A", "B"], devices
for d in devices:
    assert d["path"].startswith("/dev/hidraw") and d["may_open"] is True, d
    assert (d["vendor"], d["product"], d["release"]) == ("0483", "5750", "0200"), d
EOF
}

# The value set through one way of naming B is seen through the other,
# and not on A.
test_choose_device() {
  local a b
  a=$(path_of A)
  b=$(path_of B)
  [ -n "$a" ] && [ -n "$b" ] && [ "$a" != "$b" ] || fail "paths of A and B: '$a' '$b'"
  "$ctl" --device usb:serial=B set 2 level -17 || fail "set on B by serial"
  [ "$("$ctl" --device "usb:$b" get 2 level)" = -17 ] || fail "B by path does not hold the value"
  [ "$("$ctl" --device "usb:$a" get 2 level)" != -17 ] || fail "A holds B's value"
  "$ctl" --device usb:serial=C info && fail "a serial no processor has was opened"
  return 0
}

test_scene_commands() {
  local d=usb:serial=A
  "$ctl" --device $d info | tee "$work/info.txt" || fail "info"
  grep -q "SVH1-WV1.00" "$work/info.txt" || fail "info names no identification"
  "$ctl" --device $d read-scene "$work/before.ZR4C" || fail "read-scene"
  [ "$("$ctl" --device $d set 3 eq7.gain -4.5)" = -4.5 ] || fail "set"
  [ "$("$ctl" --device $d get 3 eq7.gain)" = -4.5 ] || fail "get after set"
  "$ctl" --device $d read-scene "$work/changed.ZR4C" || fail "read-scene after set"
  cmp -s "$work/before.ZR4C" "$work/changed.ZR4C" && fail "the set did not change the image"
  "$ctl" --device $d write-scene "$work/before.ZR4C" || fail "write-scene"
  "$ctl" --device $d read-scene "$work/after.ZR4C" || fail "read-scene after write-scene"
  # The name (the image's first 16 bytes, after the 11-byte tag) is the processor's to keep.
  cmp -i 27 "$work/before.ZR4C" "$work/after.ZR4C" || fail "the processor does not hold the written scene"
}

# 1,000 sets over one link; afterwards every output holds the last value
# of each parameter. (One awk writes the scripts: forks are slow here.)
write_sets() {
  awk -v dir="$work" 'BEGIN {
    for (i = 0; i < 1000; i++) {
      key = (i % 6 + 1) " eq" (int(i / 6) % 31 + 1) ".gain"
      print "set " key " " (i % 25 - 12) > (dir "/sets")
      last[key] = i % 25 - 12
    }
    for (ch = 1; ch <= 6; ch++)
      for (band = 1; band <= 31; band++) {
        key = ch " eq" band ".gain"
        print "get " key > (dir "/gets")
        printf "%.1f\n", last[key] > (dir "/expected")
      }
  }'
}

test_batch_1000() {
  write_sets
  time "$ctl" --device usb:serial=A batch "$work/sets" >/dev/null || fail "batch of sets"
  "$ctl" --device usb:serial=A batch "$work/gets" >"$work/held" || fail "batch of gets"
  diff "$work/expected" "$work/held" || fail "values not held"
}

# The processor restarts after step 54: the gadget leaves the bus and
# comes back, and the link finds it again.
test_firmware_restart() {
  local gone_before
  { printf 'WMCU\x01\x02\x03\x04'; head -c 100 /dev/zero | tr '\0' x; } >"$work/mcu.bin"
  gone_before=$(dmesg | grep -c "USB disconnect")
  "$ctl" --device usb:serial=B firmware "$work/mcu.bin" | tee "$work/firmware.txt" || fail "firmware update"
  tail -n 1 "$work/firmware.txt" | grep -q "100% Update successfully!" || fail "no success line"
  [ "$(dmesg | grep -c "USB disconnect")" -gt "$gone_before" ] || fail "the processor never left the bus"
  "$ctl" --device usb:serial=B info >/dev/null || fail "no info after the update"
}

# The cable is pulled in the middle of a batch: the command ends soon with
# the link-failure message; plugged in again, a new command works.
test_pulled_cable() {
  local rc pulled ended udc
  write_sets
  udc=$(cat "$gadgets/zr470b/UDC")
  start_emulator zr470b --unplug-after 200 && wait_for_devices 2 || fail "emulator"
  "$ctl" --device usb:serial=B batch "$work/sets" >"$work/cable.out" 2>"$work/cable.err"
  rc=$?
  # Both in seconds since boot: the kernel stamps its log so.
  ended=$(cut -d' ' -f1 /proc/uptime)
  pulled=$(dmesg | grep "USB disconnect" | tail -n 1 | sed 's/^\[ *\([0-9.]*\)\].*/\1/')
  cat "$work/cable.err"
  [ "$rc" != 0 ] || fail "the batch succeeded"
  grep -q "Connection failure!" "$work/cable.err" || fail "no link-failure message"
  [ -s "$work/cable.out" ] || fail "the cable was pulled before the batch began"
  awk -v p="$pulled" -v e="$ended" 'BEGIN {printf "ended %.2f s after the pull\n", e - p; exit !(e - p < 3.5)}' ||
    fail "too slow"
  echo "$udc" >"$gadgets/zr470b/UDC"
  wait_for_devices 2 || fail "not back after the cable was plugged in"
  "$ctl" --device usb:serial=B info >/dev/null || fail "no info after the cable was plugged in"
}

# Without a login seat the uaccess tag gives no one the node: the group
# rule does, to plugdev's members only.
test_permissions() {
  local a plugdev
  a=$(path_of A)
  plugdev=$(getent group plugdev | cut -d: -f3)
  [ "$(stat -c '%G %a' "$a")" = "plugdev 660" ] || fail "node: $(stat -c '%G %a' "$a")"
  setpriv --reuid=1000 --regid=1000 --groups="$plugdev" -- "$ctl" devices | tee "$work/member.txt"
  grep -q "serial A  may open" "$work/member.txt" || fail "a member of plugdev may not open A"
  setpriv --reuid=1000 --regid=1000 --groups="$plugdev" -- "$ctl" --device "usb:$a" info >/dev/null ||
    fail "info as a member of plugdev"
  setpriv --reuid=1001 --regid=1001 --clear-groups -- "$ctl" devices | tee "$work/outsider.txt"
  grep -q "serial A  no access: install the udev rule" "$work/outsider.txt" || fail "no advice for an outsider"
  setpriv --reuid=1001 --regid=1001 --clear-groups -- "$ctl" --device "usb:$a" info && fail "an outsider opened A"
  return 0
}

run_test() {  # NAME SECONDS FUNCTION
  local start end result=PASS
  # zr470_only (from the kernel's command line): a comma-separated choice.
  [ "$1" = setup ] || [ -z "${zr470_only:-}" ] || [[ ",$zr470_only," == *",$1,"* ]] || return 0
  start=$(date +%s.%N)
  timeout -k 2 "$2" bash -c "$3" >"$results/$1.log" 2>&1 || result=FAIL
  end=$(date +%s.%N)
  awk -v r="$result" -v n="$1" -v s="$start" -v e="$end" 'BEGIN {printf "%s %s %.1f\n", r, n, e - s}' >>"$results/summary"
}

setup() {
  mkdir -p /run/udev/rules.d
  cp "$packaging"/*.rules /run/udev/rules.d/
  /usr/lib/systemd/systemd-udevd --daemon
  make_gadget zr470a A dummy_udc.0
  make_gadget zr470b B dummy_udc.1
  start_emulator zr470a && start_emulator zr470b && wait_for_devices 2
}

# Each test runs in a shell of its own (its time-out ends all of it).
export -f $(declare -F | awk '{print $3}')
run_test setup 30 setup
run_test devices 15 test_devices
run_test choose-device 30 test_choose_device
run_test scene-commands 40 test_scene_commands
run_test batch-1000 40 test_batch_1000
run_test permissions 30 test_permissions
run_test firmware-restart 40 test_firmware_restart
run_test pulled-cable 40 test_pulled_cable
touch "$results/done"
sync
# PID 1 ends the machine (exiting would be a kernel panic, which ends it too).
[ $$ != 1 ] || echo o >/proc/sysrq-trigger
