#!/bin/sh
# Installs the Debian packages the build (and, with --tests, the tests) need,
# when they are missing. Run as root.
set -eu
packages="cmake make g++ pkg-config libncurses-dev iconv"
if [ "${1:-}" = "--tests" ]; then
  packages="$packages libgtest-dev libbenchmark-dev libvterm-dev clang libclang-rt-14-dev"
fi
missing=""
for p in $packages; do
  [ "$p" = iconv ] && { command -v iconv >/dev/null 2>&1 || missing="$missing libc-bin"; continue; }
  dpkg -s "$p" >/dev/null 2>&1 || missing="$missing $p"
done
if [ -n "$missing" ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q
  # shellcheck disable=SC2086
  apt-get install -y -q $missing
fi
