#!/bin/sh
# Runs a command in a private mount namespace whose /dev holds the usual
# nodes but no serial device, or with --com1 DEVICE that one device as
# /dev/ttyUSB0, which makes it COM1. Needs root (or unshare's rights).
set -eu
com1=
if [ "${1:-}" = --com1 ]; then com1=$2; shift 2; fi
[ "${1:-}" = -- ] && shift
exec unshare --mount --propagation private /bin/sh -eu -c '
  com1=$1; shift
  dev=$(mktemp -d)
  mount -t tmpfs zarn-dev "$dev"
  for node in null zero full random urandom tty ptmx; do
    touch "$dev/$node"
    mount --bind "/dev/$node" "$dev/$node"
  done
  for dir in pts shm; do
    mkdir "$dev/$dir"
    mount --bind "/dev/$dir" "$dev/$dir"
  done
  if [ -n "$com1" ]; then
    touch "$dev/ttyUSB0"
    mount --bind "$com1" "$dev/ttyUSB0"
  fi
  mount --rbind "$dev" /dev
  exec "$@"
' in-serial-namespace "$com1" "$@"
