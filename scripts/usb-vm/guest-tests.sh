#!/bin/bash
# The usb-vm stage's tests, run once inside the guest (scripts/usb-vm.sh),
# as root, chrooted into the host's tree: the build's own programs reach two
# virtual processors through dummy_hcd, usbhid, hidraw and hidapi.
#   guest-tests.sh RESULTS BUILD
# Each test runs in sequence with its own time-out; RESULTS/summary gets a
# line "PASS|FAIL NAME SECONDS" for each and RESULTS/NAME.log its output;
# RESULTS/done marks the end. Starting a program costs about a second
# under emulation: the tests start few (batch scripts, bash built-ins).
set -uo pipefail
results=$1
export build=$2
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
  local dev line
  read -r dev <"$gadgets/$1/functions/hid.usb0/dev"
  while read -r line; do
    [[ $line == DEVNAME=* ]] && echo "/dev/${line#DEVNAME=}"
  done <"/sys/dev/char/$dev/uevent"
}

# The emulator of gadget NAME with fault options; waits until it serves.
start_emulator() {  # NAME [OPTIONS...]
  local name=$1 line=""
  shift
  stop_emulator "$name"
  "$ctl" emulate --hidg "$(hidg_node "$name")" --gadget "$gadgets/$name" "$@" >"$work/emulator-$name.log" 2>&1 &
  echo $! >"$work/emulator-$name.pid"
  for _ in {1..50}; do
    read -r line <"$work/emulator-$name.log"
    [[ $line == "serving on"* ]] && return 0
    sleep 0.2
  done
  echo "emulator $name did not start: $line"
  return 1
}

stop_emulator() {  # NAME
  local pid
  [ -f "$work/emulator-$1.pid" ] || return 0
  read -r pid <"$work/emulator-$1.pid"
  kill "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null
  rm -f "$work/emulator-$1.pid"
}

# Waits until N hidraw nodes are there and udev is done with them.
wait_for_devices() {  # N
  local nodes
  for _ in {1..50}; do
    nodes=(/sys/class/hidraw/hidraw*)
    [ -e "${nodes[0]}" ] && [ "${#nodes[@]}" = "$1" ] && udevadm settle -t 10 && return 0
    sleep 0.2
  done
  echo "expected $1 hidraw nodes: ${nodes[*]}"
  return 1
}

path_of() {  # SERIAL: from the list the devices test kept
  local path serial
  while read -r path _ serial _; do
    [ "$serial" = "$1" ] && echo "$path"
  done <"$work/devices.txt"
}

fail() {
  echo "FAILED: $*"
  exit 1
}

# ---- the tests ---------------------------------------------------------------
setup() {
  mkdir -p /run/udev/rules.d
  cp "$packaging"/*.rules /run/udev/rules.d/
  /usr/lib/systemd/systemd-udevd --daemon
  make_gadget zr470a A dummy_udc.0
  make_gadget zr470b B dummy_udc.1
  start_emulator zr470a && start_emulator zr470b && wait_for_devices 2
}

test_devices() {
  local json
  "$ctl" devices | tee "$work/devices.txt"
  [ "$(wc -l <"$work/devices.txt")" = 2 ] || fail "two processors expected"
  for s in A B; do
    grep -Eq "^/dev/hidraw[0-9]+  serial $s  may open  ZR-470\$" "$work/devices.txt" || fail "serial $s not listed"
  done
  json=$("$ctl" --json devices)
  echo "$json"
  [[ $json == '[{'*'},{'*'}]' ]] || fail "not a list of two"
  for s in A B; do
    [[ $json == *'{"path":"/dev/hidraw'[0-9]'","serial":"'$s'","may_open":true,"vendor":"0483","product":"5750","release":"0200","name":"ZR-470"}'* ]] ||
      fail "no JSON entry for $s"
  done
}

# One identification read by hand, straight onto the hidraw node: the
# reply comes as one unnumbered 64-byte report that starts with the
# reply frame: its start byte and 'S' (a report id in front would shift it).
test_raw_reports() {
  local node report='\x00\x5c\x5c\x5c\xee\xa2\x01\x00\x09\x04\x00\x00\x00\x08\x00\x00\x00\x00\x00\x00\x00\x00\x00\xa6\xaa'
  node=$(path_of B)
  for _ in {1..40}; do report+='\x00'; done
  exec 3<>"$node"
  # printf writes it at once: one output report, its number 0 first.
  printf "$report" >&3
  timeout 5 dd bs=128 count=1 status=none <&3 >"$work/reply"
  exec 3>&-
  od -An -tx1 "$work/reply"
  [ "$(stat -c %s "$work/reply")" = 64 ] || fail "the reply is not one 64-byte report"
  [ "$(od -An -tx1 -N2 "$work/reply")" = " ee 53" ] || fail "the reply does not start with the frame"
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
}

# One link, one script: after the scene is written back (and stored and
# recalled: whole blocks, replies of many reports) the processor holds the
# image read before the set.
test_scene_commands() {
  local w=$work
  "$ctl" --device usb:serial=A batch - >"$w/scene.out" <<SCRIPT || fail "batch"
info
read-scene $w/before.ZR4C
set 3 eq7.gain -4.5
get 3 eq7.gain
read-scene $w/changed.ZR4C
write-scene $w/before.ZR4C
store 2 Hall
recall 2
read-scene $w/after.ZR4C
get 3 eq7.gain
SCRIPT
  cat "$w/scene.out"
  grep -q "^identification  SVH1-WV1.00\$" "$w/scene.out" || fail "info names no identification"
  [ "$(grep -c '^-4.5$' "$w/scene.out")" = 2 ] || fail "set and get"
  [ "$(tail -n 1 "$w/scene.out")" = 0.0 ] || fail "write-scene did not bring the gain back"
  cmp -s "$w/before.ZR4C" "$w/changed.ZR4C" && fail "the set did not change the image"
  # The name (the image's first 16 bytes, after the 11-byte tag) is the processor's to keep.
  cmp -i 27 "$w/before.ZR4C" "$w/after.ZR4C" || fail "the processor does not hold the written scene"
}

# 1,000 sets of the 186 gains, and what each ends with (one awk writes all).
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

# A new link reads every value back from the processor.
test_batch_1000() {
  write_sets
  "$ctl" --device usb:serial=A batch "$work/sets" >/dev/null || fail "batch of sets"
  "$ctl" --device usb:serial=A batch "$work/gets" >"$work/held" || fail "batch of gets"
  diff "$work/expected" "$work/held" || fail "values not held"
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
  grep -q "serial A  no access: install the udev rules, or join the group plugdev" "$work/outsider.txt" || fail "no advice for an outsider"
  setpriv --reuid=1001 --regid=1001 --clear-groups -- "$ctl" --device "usb:$a" info && fail "an outsider opened A"
  return 0
}

# The processor restarts after step 54: the gadget leaves the bus and
# comes back, and the link finds it again.
test_firmware_restart() {
  local gone_before
  { printf 'WMCU\x01\x02\x03\x04'; head -c 100 /dev/zero | tr '\0' x; } >"$work/mcu.bin"
  gone_before=$(dmesg | grep -c "USB disconnect")
  "$ctl" --device usb:serial=B firmware "$work/mcu.bin" | tee "$work/firmware.txt" || fail "firmware update"
  [ "$(tail -n 1 "$work/firmware.txt")" = "100% Update successfully!" ] || fail "no success line"
  [ "$(dmesg | grep -c "USB disconnect")" -gt "$gone_before" ] || fail "the processor never left the bus"
}

# The cable is pulled in the middle of a batch: the command ends soon with
# the link-failure message; plugged in again, a new command works.
test_pulled_cable() {
  local rc pulled ended udc
  write_sets
  read -r udc <"$gadgets/zr470b/UDC"
  start_emulator zr470b --unplug-after 200 && wait_for_devices 2 || fail "emulator"
  "$ctl" --device usb:serial=B batch "$work/sets" >"$work/cable.out" 2>"$work/cable.err"
  rc=$?
  # Both in seconds since boot: the kernel stamps its log so.
  read -r ended _ </proc/uptime
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

# The editor, once: connected to A it reads the scene and shows its name
# (write-scene names the scene after the file).
test_editor() {
  local w=$work
  "$ctl" --device usb:serial=A batch - >/dev/null <<SCRIPT || fail "naming the scene"
read-scene $w/Lounge3.ZR4C
write-scene $w/Lounge3.ZR4C
SCRIPT
  ZR470_USB_DEVICE=usb:serial=A ZR470_USB_SCENE=Lounge3 QT_QPA_PLATFORM=offscreen "$build/tests/usb_tests" ||
    fail "the editor"
}

run_test() {  # NAME SECONDS FUNCTION
  local start end result=PASS
  # zr470_only (from the kernel's command line): a comma-separated choice.
  [ "$1" = setup ] || [ -z "${zr470_only:-}" ] || [[ " ${zr470_only//,/ } " == *" $1 "* ]] || return 0
  read -r start _ </proc/uptime
  timeout -k 2 "$2" bash -c "$3" >"$results/$1.log" 2>&1 || result=FAIL
  read -r end _ </proc/uptime
  awk -v r="$result" -v n="$1" -v s="$start" -v e="$end" 'BEGIN {printf "%s %s %.1f\n", r, n, e - s}' >>"$results/summary"
}

# Each test runs in a shell of its own (its time-out ends all of it).
export -f $(declare -F | awk '{print $3}')
run_test setup 30 setup
run_test devices 15 test_devices
run_test raw-reports 15 test_raw_reports
run_test choose-device 25 test_choose_device
run_test scene-commands 25 test_scene_commands
run_test batch-1000 40 test_batch_1000
run_test editor 30 test_editor
run_test permissions 25 test_permissions
run_test firmware-restart 30 test_firmware_restart
run_test pulled-cable 30 test_pulled_cable
touch "$results/done"
sync
# PID 1 ends the machine (exiting would be a kernel panic, which ends it too).
[ $$ != 1 ] || echo o >/proc/sysrq-trigger
