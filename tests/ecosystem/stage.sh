#!/usr/bin/env bash
# Installs the libraries into STAGE/prefix for the install and Python tests.
# A sanitized build cannot be loaded by stock programs, so it stages a plain
# release build of its own (STAGE/build, rebuilt incrementally); a plain
# build installs itself.
# usage: stage.sh SOURCE_DIR BUILD_DIR STAGE_DIR SANITIZED(ON|OFF)
set -euo pipefail
source_dir=$1 build_dir=$2 stage=$3 sanitized=$4
rm -rf "$stage/prefix"
if [[ "$sanitized" =~ ^(ON|on|1|TRUE|true|YES|yes)$ ]]; then
  cmake -S "$source_dir" -B "$stage/build" -DCMAKE_BUILD_TYPE=Release -DZV_WERROR=ON \
    -DZV_BUILD_TESTS=OFF -DZV_BUILD_TOOLS=OFF -DZV_BUILD_BENCH=OFF >/dev/null
  cmake --build "$stage/build" -j 2 >/dev/null
  build_dir=$stage/build
fi
cmake --install "$build_dir" --prefix "$stage/prefix" >/dev/null
echo "staged $(ls "$stage/prefix/lib" | tr '\n' ' ')"
