#!/usr/bin/env bash
# Runs a command as root inside a small QEMU machine booting Debian's own kernel, so that tests
# meet the joydev, evdev and uinput drivers build machines lack; the command's output and exit
# status are this script's. See docs/real-kernel-tests.md.
#
#   tests/vm/run.sh [COMMAND ARGS...]
#
# Without a command it runs the in-VM joystick tests of $ZARVEN_BUILD_DIR (default build/).
# Ends with status 77 ("skipped") when QEMU, busybox or udev are missing and it is not root.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
cache=$(realpath -m "${ZARVEN_VM_CACHE:-$root/build-vm}")
build=$(realpath -m "${ZARVEN_BUILD_DIR:-$root/build}")
timeout_seconds=${ZARVEN_VM_TIMEOUT:-600}

log() { echo "vm: $*" >&2; }

if [ $# -eq 0 ]; then
  set -- "$build/tests/platform/linux_input/linux_input_vm_test"
fi
case "$1" in
  /*) ;;
  *) set -- "$(realpath -m "$1")" "${@:2}" ;;
esac

install_missing() {
  local needed=()
  command -v qemu-system-x86_64 >/dev/null || needed+=(qemu-system-x86)
  dpkg-query -W -f="\${Status}" busybox-static 2>/dev/null | grep -q "ok installed" || needed+=(busybox-static)
  command -v cpio >/dev/null || needed+=(cpio)
  command -v udevadm >/dev/null || needed+=(udev)
  [ ${#needed[@]} -eq 0 ] && return 0
  if [ "$(id -u)" -ne 0 ]; then
    log "skipped: ${needed[*]} missing, and only root installs them"
    exit 77
  fi
  log "installing ${needed[*]}"
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${needed[@]}" >&2
}

# The kernel image and the modules the machine needs, unpacked once from Debian's kernel
# package (the one linux-image-amd64 depends on).
fetch_kernel() {
  [ -f "$cache/kernel/vmlinuz" ] && return 0
  local package
  package=$(apt-cache depends linux-image-amd64 2>/dev/null | awk '/Depends: linux-image-/ {print $2; exit}')
  if [ -z "$package" ]; then
    apt-get update -qq
    package=$(apt-cache depends linux-image-amd64 | awk '/Depends: linux-image-/ {print $2; exit}')
  fi
  log "fetching $package"
  rm -rf "$cache/download" "$cache/kernel"
  mkdir -p "$cache/download" "$cache/kernel/modules"
  (cd "$cache/download" && apt-get download "$package" >/dev/null 2>&1 ||
    apt-get download "$package" >&2)
  dpkg-deb -x "$cache"/download/*.deb "$cache/download/unpacked"
  local unpacked="$cache/download/unpacked"
  cp "$unpacked"/boot/vmlinuz-* "$cache/kernel/vmlinuz"
  local module
  for module in "${modules[@]}"; do
    find "$unpacked/lib/modules" -name "$module.ko" -exec cp {} "$cache/kernel/modules/" \;
    [ -f "$cache/kernel/modules/$module.ko" ] || { log "no $module.ko in $package"; exit 1; }
  done
  rm -rf "$cache/download"
}

# In dependency order.
modules=(virtio_ring virtio virtio_pci_modern_dev virtio_pci_legacy_dev virtio_pci netfs
  fscache 9pnet 9pnet_virtio 9p evdev joydev uinput)

build_initramfs() {
  local image="$cache/base.cpio.gz"
  [ -f "$image" ] && [ "$image" -nt "$0" ] && return 0
  local tree="$cache/initramfs"
  rm -rf "$tree"
  mkdir -p "$tree"/{bin,dev,proc,sys,host,host-tmp,lib/modules}
  cp /bin/busybox "$tree/bin/busybox"
  cp "$cache"/kernel/modules/*.ko "$tree/lib/modules/"
  cat >"$tree/init" <<INIT
#!/bin/busybox sh
/bin/busybox --install -s /bin
mount -t proc proc /proc
mount -t sysfs sys /sys
mount -t devtmpfs dev /dev
for m in ${modules[*]}; do
  insmod /lib/modules/\$m.ko || echo "vm: cannot load \$m"
done
if ! mount -t 9p -o trans=virtio,version=9p2000.L,ro,msize=512000 host /host; then
  echo "vm: cannot mount the host's root"
  poweroff -f
fi
mount -t proc proc /host/proc
mount -t sysfs sys /host/sys
mount -t devtmpfs dev /host/dev
# The tmpfs hides the host's /tmp; folders of it that the command needs (a checkout or build
# there) are bound back in at their own paths.
mount -o bind /host/tmp /host-tmp
mount -t tmpfs tmp /host/tmp
while read -r kept; do
  mkdir -p "/host/tmp/\$kept"
  mount -o bind "/host-tmp/\$kept" "/host/tmp/\$kept"
done </kept-from-tmp
mkdir -p /host/tmp/home /host/tmp/xdg
# udevadm test runs rules without a daemon; it writes under /run, and tests add rules.
mount -t tmpfs run /host/run
[ -d /host/etc/udev/rules.d ] && mount -t tmpfs rules /host/etc/udev/rules.d
cp /run-command /host/tmp/.run-command
echo "vm: ready"
chroot /host /usr/bin/env -i PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \\
  HOME=/tmp/home XDG_DATA_HOME=/tmp/xdg TMPDIR=/tmp LANG=C.UTF-8 \\
  /bin/sh -c 'cd /tmp && . /tmp/.run-command' </dev/console >/dev/console 2>&1
status=\$?
echo
echo "vm: exit status \$status"
poweroff -f
INIT
  chmod +x "$tree/init"
  (cd "$tree" && find . | cpio -o -H newc --quiet | gzip -1) >"$image.tmp"
  mv "$image.tmp" "$image"
}

install_missing
mkdir -p "$cache"
fetch_kernel
build_initramfs

# The command travels in a second, tiny archive appended to the initramfs (the kernel unpacks
# both); the machine copies it onto the tmpfs inside the chroot.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/cmd"
printf 'exec' >"$work/cmd/run-command"
printf ' %q' "$@" >>"$work/cmd/run-command"
echo >>"$work/cmd/run-command"
# The top folders under /tmp of this checkout, the build and the command, if they are there.
for path in "$root" "$build" "$1"; do
  case "$path" in
    /tmp/?*) path=${path#/tmp/} && echo "${path%%/*}" ;;
  esac
done | sort -u >"$work/cmd/kept-from-tmp"
(cd "$work/cmd" && printf 'run-command\nkept-from-tmp\n' | cpio -o -H newc --quiet | gzip -1) \
  >"$work/cmd.cpio.gz"
cat "$cache/base.cpio.gz" "$work/cmd.cpio.gz" >"$work/initrd.gz"

log "booting: $*"
set +e
timeout "$timeout_seconds" qemu-system-x86_64 -accel tcg -cpu max -m 1024 -smp 1 \
  -nographic -no-reboot -nodefaults -serial stdio \
  -kernel "$cache/kernel/vmlinuz" -initrd "$work/initrd.gz" \
  -append "console=ttyS0 quiet panic=-1 loglevel=3" \
  -virtfs local,path=/,mount_tag=host,security_model=none,readonly=on,multidevs=remap \
  </dev/null | tr -d '\r' | sed -u -e 's/\x1b\[[0-9;?]*[A-Za-z]//g' -e 's/\x1bc//g' |
  tee "$work/console.log"
set -e
status=$(sed -n 's/^vm: exit status \([0-9]*\)$/\1/p' "$work/console.log" | tail -n 1)
if [ -z "$status" ]; then
  log "the machine stopped before the command finished"
  exit 1
fi
exit "$status"
