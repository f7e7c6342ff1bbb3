#!/usr/bin/env bash
# Installs the libraries into STAGE/prefix for the install and Python tests:
# a plain build itself, a sanitized one (which stock programs cannot load) a
# plain release build of its own in STAGE/build, rebuilt incrementally.
# usage: stage.sh SOURCE_DIR BUILD_DIR STAGE_DIR SANITIZED(ON|OFF)
set -euo pipefail
build=$2 && rm -rf "$3/prefix"
if [[ "$4" =~ ^(ON|on|1|TRUE|true|YES|yes)$ ]]; then
  build=$3/build && cmake -S "$1" -B "$build" -DCMAKE_BUILD_TYPE=Release -DZV_WERROR=ON -DZV_BUILD_TESTS=OFF \
    -DZV_BUILD_TOOLS=OFF -DZV_BUILD_BENCH=OFF >/dev/null && cmake --build "$build" -j 2 >/dev/null
fi
cmake --install "$build" --prefix "$3/prefix" >/dev/null && echo "staged $(ls "$3/prefix/lib" | tr '\n' ' ')"
