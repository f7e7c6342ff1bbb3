#!/usr/bin/env bash
# Only the documented names leave the shared objects: every exported
# function or object starts with zv_ or ll_.
set -euo pipefail
extra=$(nm -A -D --defined-only "$@" | awk '$2 ~ /[TDBRVW]/ {print $3, "in", $1}' |
  grep -v -E '^(zv_|ll_|_init |_fini |_edata |_end |__bss_start )' || true)
[ -z "$extra" ] || { echo "undocumented names exported:"; echo "$extra"; exit 1; }
