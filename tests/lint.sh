#!/usr/bin/env bash
# Static checks over the project's own sources: formatting against .clang-format,
# clang-tidy with .clang-tidy, and cppcheck. Needs a configured native build tree for
# its compile_commands.json (argument 1, default build/linux).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/linux}

mapfile -t sources < <(git ls-files '*.cpp' '*.h')
mapfile -t native < <(git ls-files 'checker/*.cpp' 'checksum/*.cpp' 'tests/*.cpp' 'bench/*.cpp' |
  grep -v '_win32')

echo "clang-format: ${#sources[@]} files"
clang-format --dry-run --Werror "${sources[@]}"

echo "clang-tidy: ${#native[@]} files"
if ! report=$(clang-tidy -p "$build" --quiet "${native[@]}" 2>&1); then
  grep -v -E '^[0-9]+ warnings? generated\.$' <<<"$report"
  exit 1
fi

echo "cppcheck"
cppcheck --quiet --error-exitcode=1 --std=c++20 --language=c++ \
  --enable=warning,style,performance,portability --inline-suppr \
  --suppress=missingIncludeSystem --suppress=useStlAlgorithm --library=googletest \
  -I checker -I checksum -I tests checker checksum tests bench
echo "static checks clean"
