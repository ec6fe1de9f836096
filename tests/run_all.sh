#!/usr/bin/env bash
# The whole test suite: the native build, the same tests under AddressSanitizer and
# UndefinedBehaviorSanitizer, the static checks, and the 32-bit Windows executable with
# its tests under Wine. Needs what tests/install-dependencies.sh installs.
set -euo pipefail
cd "$(dirname "$0")/.."
export CMAKE_BUILD_PARALLEL_LEVEL=${CMAKE_BUILD_PARALLEL_LEVEL:-$(nproc)}

cmake --workflow --preset linux
cmake --workflow --preset linux-asan
bash tests/lint.sh build/linux

# A throwaway Wine prefix, so no earlier Wine state can change what the tests see; no
# Mono or Gecko installer either, since no test needs them.
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
WINEPREFIX=$(mktemp -d)
export WINEPREFIX
trap 'wineserver -k 2>/dev/null || true; rm -rf "$WINEPREFIX"' EXIT
cmake --workflow --preset windows
echo "all tests passed"
