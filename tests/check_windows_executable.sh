#!/usr/bin/env bash
# Checks the shipped Windows executable as the loader of a clean Windows sees it: a
# 32-bit console program that needs only system DLLs and carries exactly one manifest,
# ours, asking for nothing beyond the rights of the user who starts it.
set -euo pipefail
exe=$1
manifest=$2
objdump=i686-w64-mingw32-objdump

fail() {
  echo "FAIL: $*"
  exit 1
}

file_header=$($objdump -f "$exe")
pe_header=$($objdump -p "$exe")
grep -q 'file format pei-i386' <<<"$file_header" || fail "not a PE file for i386"
grep -q '^architecture: i386,' <<<"$file_header" || fail "machine is not Intel 80386"
grep -qE '^Magic[[:space:]]+010b[[:space:]]+\(PE32\)' <<<"$pe_header" || fail "not PE32"
grep -qE '^Subsystem[[:space:]]+00000003[[:space:]]+\(Windows CUI\)' <<<"$pe_header" ||
  fail "not the console subsystem"

imports=$(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$pe_header" | sort -u)
[ -n "$imports" ] || fail "no import table found"
while read -r dll; do
  case "${dll,,}" in
    kernel32.dll | msvcrt.dll | ucrtbase.dll | api-ms-win-crt-*.dll) ;;
    *) fail "imports $dll, which a clean Windows may lack" ;;
  esac
done <<<"$imports"

manifests=$(wrestool -l --type=24 "$exe")
[ "$(grep -c . <<<"$manifests")" = 1 ] || fail "expected one manifest, found: $manifests"
grep -q -- '--type=24 --name=1 --language=1033 ' <<<"$manifests" ||
  fail "manifest is not type 24, id 1, language 1033: $manifests"
wrestool -x --raw --type=24 --name=1 --language=1033 "$exe" | cmp -s - "$manifest" ||
  fail "embedded manifest differs from $manifest"
elements=$(grep -o '<[A-Za-z][A-Za-z0-9]*' "$manifest" | tr '\n' ' ')
[ "$elements" = "<assembly <trustInfo <security <requestedPrivileges <requestedExecutionLevel " ] ||
  fail "manifest holds more than the execution level: $elements"
grep -q '<requestedExecutionLevel level="asInvoker" uiAccess="false"/>' "$manifest" ||
  fail "manifest does not ask for asInvoker without uiAccess"

echo "PE32 i386 console program; imports: $(tr '\n' ' ' <<<"$imports"); one manifest (24/1/1033)"
