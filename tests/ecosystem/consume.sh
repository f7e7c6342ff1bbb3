#!/usr/bin/env bash
# Builds the README's C example against an installed copy of the package,
# through the CMake package or through pkg-config, and runs it.
# usage: consume.sh cmake|pkg-config PREFIX EXAMPLE.c WORK_DIR
set -euo pipefail
way=$1 prefix=$2 example=$3 work=$4
here=$(cd "$(dirname "$0")" && pwd)
rm -rf "$work" && mkdir -p "$work"
cp "$example" "$work/example.c"
cd "$work"

# The three shared objects with their SONAME links.
for lib in rivivi da3v rivezi3z; do
  soname=$(readelf -d "$prefix/lib/lib$lib.so" | sed -n 's/.*SONAME.*\[\(.*\)\]/\1/p')
  [ "$soname" = "lib$lib.so.0" ] || { echo "lib$lib.so: SONAME '$soname'"; exit 1; }
  [ -L "$prefix/lib/lib$lib.so" ] && [ -L "$prefix/lib/$soname" ] && [ -f "$prefix/lib/lib$lib.so.0.1.0" ] ||
    { echo "lib$lib: missing SONAME links"; ls -l "$prefix/lib"; exit 1; }
done

case $way in
  cmake)
    cp "$here/consumer/CMakeLists.txt" .
    cmake -S . -B build -DCMAKE_PREFIX_PATH="$prefix" >/dev/null
    cmake --build build >/dev/null
    program=build/example ;;
  pkg-config)
    export PKG_CONFIG_PATH="$prefix/lib/pkgconfig"
    bash "$here/consumer/build_with_pkg_config.sh"
    program=./example ;;
esac
LD_LIBRARY_PATH="$prefix/lib" "$program" >output.txt
# The example prints one line per vertex: two segments at step 0.25.
lines=$(wc -l <output.txt)
[ "$lines" -eq 9 ] || { echo "expected 9 vertices, got $lines"; cat output.txt; exit 1; }
echo "built with $way and ran: $lines vertices"
