#!/usr/bin/env bash
# Checks a shipped module file with tools nobody here wrote: objdump reads its
# PE headers, exports and imports; wrestool lists and extracts its resources.
# usage: check_module.sh MODULE.gau EXPECTED.txt (key=value lines: description,
# version, manifest yes|no, bitmaps as ID:WIDTHxHEIGHT:BITS separated by spaces)
set -uo pipefail
file=$1 expected=$2
module=$(basename "$file" .gau)
failures=0
fail() { echo "$module: $*"; failures=$((failures + 1)); }

value() { grep "^$1=" "$expected" | head -n1 | cut -d= -f2-; }
[ -f "$expected" ] || { echo "$module: no expectations in $expected"; exit 1; }
description=$(value description) version=$(value version) manifest=$(value manifest) bitmaps=$(value bitmaps)
[ -f "$file" ] || { echo "$module: $file is missing (build the win32 preset)"; exit 1; }

headers=$(objdump -p "$file")
grep -q 'Magic[[:space:]]*010b' <<<"$headers" || fail "not a PE32 file"
objdump -f "$file" | grep -q 'architecture: i386' || fail "not built for i386"
grep -q 'Characteristics.*' <<<"$headers" && grep -q 'DLL' <<<"$headers" || fail "not a DLL"

exports=$(awk '/\[Ordinal\/Name Pointer\] Table/{on=1; next} on && NF==0{on=0} on{print $NF}' <<<"$headers" | sort | tr '\n' ' ')
[ "$exports" = "ImportTable Linkage " ] || fail "exports are '$exports', not exactly ImportTable and Linkage"
for dll in $(awk '/DLL Name:/{print tolower($3)}' <<<"$headers"); do
  case "$dll" in kernel32.dll|msvcrt.dll|user32.dll) ;; *) fail "imports from $dll, not a system DLL" ;; esac
done

resources=$(wrestool -l "$file")
langs=$(grep -o 'language=[0-9]*' <<<"$resources" | sort -u | tr '\n' ' ')
[ "$langs" = "language=1033 " ] || fail "resource languages are '$langs', not 0x0409 only"
if [ "$manifest" = yes ]; then
  grep -q -- '--type=24 --name=2 ' <<<"$resources" || fail "no manifest (type 24, id 2)"
else
  ! grep -q -- '--type=24' <<<"$resources" || fail "carries a manifest it should not"
fi

version_block=$(mktemp)
trap 'rm -f "$version_block"' EXIT
wrestool -x --raw --type=16 "$file" >"$version_block"
strings_found=$(strings -el -n 2 "$version_block")
for key in "FileDescription:$description" "CompanyName:ovk"; do
  name=${key%%:*} value=${key#*:}
  grep -A1 -x "$name" <<<"$strings_found" | tail -n1 | grep -qx "$value" || fail "$name is not '$value'"
done
read -r minor major revision build < <(od -An -tu2 -j48 -N8 "$version_block")
[ "$major.$minor.$build.$revision" = "$version" ] || fail "file version $major.$minor.$build.$revision, not $version"

bitmap_count=0
for bitmap in $bitmaps; do
  IFS=':' read -r id size bpp <<<"$bitmap"
  bitmap_count=$((bitmap_count + 1))
  dib=$(wrestool -x --raw --type=2 --name=$((id)) "$file" | od -An -tu4 -j4 -N8 | tr -s ' ')
  depth=$(wrestool -x --raw --type=2 --name=$((id)) "$file" | od -An -tu2 -j14 -N2 | tr -d ' ')
  read -r width height <<<"$dib"
  [ "${width}x${height}" = "$size" ] || fail "bitmap $id is ${width}x${height}, not $size"
  [ "$depth" = "$bpp" ] || fail "bitmap $id has $depth bits per pixel, not $bpp"
done
found=$(grep -c -- '--type=2 ' <<<"$resources")
[ "$found" -eq "$bitmap_count" ] || fail "$found bitmaps, expected $bitmap_count"

[ $failures -eq 0 ] && echo "$module: PE32 i386 DLL, two exports, system imports, resources as expected"
exit $((failures > 0))
