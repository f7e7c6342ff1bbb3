#!/usr/bin/env bash
# Builds the README's C example against an installed copy of the package,
# through the CMake package or through pkg-config, and runs it; the three
# shared objects come with their SONAME links.
# usage: consume.sh cmake|pkg-config PREFIX EXAMPLE.c WORK_DIR
set -euo pipefail
way=$1 lib=$2/lib work=$4 here=$(cd "$(dirname "$0")" && pwd)
rm -rf "$work" && mkdir -p "$work" && cp "$3" "$work/example.c" && cd "$work"
fail() { echo "FAIL: $*" >&2; ls -l "$lib" >&2; exit 1; }
for name in rivivi da3v rivezi3z; do
  [ "$(readelf -d "$lib/lib$name.so" | sed -n 's/.*SONAME.*\[\(.*\)\]/\1/p')" = "lib$name.so.0" ] &&
    [ -L "$lib/lib$name.so" ] && [ -L "$lib/lib$name.so.0" ] && [ -f "$lib/lib$name.so.0.1.0" ] || fail "lib$name links"
done
if [ "$way" = cmake ]; then
  cp "$here/consumer/CMakeLists.txt" . && cmake -S . -B build -DCMAKE_PREFIX_PATH="$2" >/dev/null
  cmake --build build >/dev/null && program=build/example
else
  PKG_CONFIG_PATH="$lib/pkgconfig" bash "$here/consumer/build_with_pkg_config.sh" && program=./example
fi
LD_LIBRARY_PATH="$lib" "$program" >output.txt  # one line per vertex: two segments at step 0.25
[ "$(wc -l <output.txt)" -eq 9 ] || fail "expected 9 vertices, got: $(cat output.txt)"
echo "built with $way and ran: 9 vertices"
