#!/usr/bin/env bash
# Installs, from Debian's or Ubuntu's packages, everything the whole test suite needs:
# the native toolchain and test libraries, the static checkers, the MinGW-w64 cross
# compiler and 32-bit Wine for the Windows executable, icoutils to inspect it, and
# qemu-user to run the native build on processors without the fast CRC instructions.
set -euo pipefail
sudo=
[ "$(id -u)" = 0 ] || sudo=sudo
export DEBIAN_FRONTEND=noninteractive
$sudo dpkg --add-architecture i386
$sudo apt-get update -q
$sudo apt-get install -y -q \
  cmake make g++ git libgtest-dev libbenchmark-dev \
  clang-format clang-tidy cppcheck \
  g++-mingw-w64-i686 wine wine32:i386 icoutils qemu-user
