#!/usr/bin/env bash
# Validates the packaged udev rule with udev itself, and that it does what the package promises.
#   check_udev_rule.sh RULE_FILE
# Where udevadm has "verify" (systemd 254 and later, Debian 13) it checks the file. Older udevadm
# (Debian 12) has only "test": it is run on a fake device in a private mount namespace whose
# rule folders hold nothing but this file, and every complaint about the file fails the check.
# Both ways, a copy with a broken line must be rejected, so the check cannot pass vacuously.
set -euo pipefail

rule=$1
name=$(basename "$rule")
fail() { echo "FAIL: $*" >&2; exit 1; }
command -v udevadm >/dev/null || fail "udevadm is not installed (scripts/install-deps installs udev)"

# Prints what udev says against the file's lines; empty when it has nothing to say.
complaints() {
  local file=$1
  if udevadm verify --help >/dev/null 2>&1; then
    udevadm verify --resolve-names=never --no-style "$file" 2>&1 >/dev/null ||
      echo "udevadm verify rejects $(basename "$file")"
    return
  fi
  local work
  work=$(mktemp -d)
  mkdir -p "$work/rules" "$work/empty"
  cp "$file" "$work/rules/$name"
  local device
  for device in /sys/class/tty/tty /sys/class/tty/ttyS0 /sys/class/mem/null /sys/devices/virtual/mem/null; do
    [ -e "$device" ] && break
  done
  [ -e "$device" ] || fail "no device in /sys to run udevadm test on (is /sys mounted?)"
  local as_root=(unshare -m)
  [ "$(id -u)" -eq 0 ] || as_root=(unshare -rm)
  # The private namespace keeps udevadm test's writes (/run/udev, /dev/char) off the system.
  "${as_root[@]}" bash -c '
    set -e
    for d in /usr/lib/udev/rules.d /lib/udev/rules.d; do
      [ -d "$d" ] && mount --bind "$1/rules" "$d"
    done
    for d in /etc/udev/rules.d /run; do
      [ -d "$d" ] && mount -t tmpfs none "$d"
    done
    mount -t tmpfs none /dev && mknod -m 666 /dev/null c 1 3 2>/dev/null || true
    udevadm test --action=add "$2" 2>&1' _ "$work" "$device" >"$work/out" || true
  grep -q "Reading rules file: .*/$name" "$work/out" || { cat "$work/out"; echo "udevadm did not read $name"; }
  grep -E "$name:[0-9]+ " "$work/out" || true
  rm -rf "$work"
}

said=$(complaints "$rule")
[ -z "$said" ] || fail "udev finds fault with $name: $said"

broken=$(mktemp)
trap 'rm -f "$broken"' EXIT
{ cat "$rule"; echo 'ATTRS{idVendor}="0403", FOO{bar}=="x"'; } >"$broken"
[ -n "$(complaints "$broken")" ] || fail "the check accepts a broken rule: it checks nothing"

# What the package promises of the rule: the four adapter families, the seat's access, no
# ModemManager, a stable link.
for id in 0403:6001 0403:6015 1a86:7523 10c4:ea60 067b:2303; do
  grep -q "ATTRS{idVendor}==\"${id%:*}\", ATTRS{idProduct}==\"${id#*:}\"" "$rule" ||
    fail "$name does not name the adapter $id"
done
grep -qx 'TAG+="uaccess"' "$rule" || fail "$name does not tag the adapters uaccess"
grep -qx 'ENV{ID_MM_DEVICE_IGNORE}="1"' "$rule" || fail "$name does not keep ModemManager away"
grep -q 'SYMLINK+="korvan2-' "$rule" || fail "$name makes no /dev/korvan2-* link"
echo "$name: valid"
