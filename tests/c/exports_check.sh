#!/usr/bin/env bash
# Only the documented names leave the shared objects: every exported
# function or object starts with zv_ or ll_.
set -euo pipefail
status=0
for so in "$@"; do
  extra=$(nm -D --defined-only "$so" | awk '$2 ~ /[TDBRVW]/ {print $3}' | grep -v -E '^(zv_|ll_)' | grep -v -E '^(_init|_fini|_edata|_end|__bss_start)$' || true)
  if [ -n "$extra" ]; then
    echo "$so exports undocumented names:"; echo "$extra"; status=1
  fi
done
exit $status
