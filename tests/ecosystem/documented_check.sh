#!/usr/bin/env bash
# Every public function and record of the C headers carries a /** ... */
# documentation block right above it (the Doxygen reference is built from them).
set -euo pipefail
status=0
for header in "$@"; do
  awk -v file="$header" '/\/\*\*/ { doc = 1 } (/\/\*[^*]/ || /\/\*$/) && !/\/\*\*/ { doc = 0 }
    /\*\/[ \t]*$/ { ended = NR; ended_doc = doc }
    /^(ZV_API|typedef struct|typedef [a-z_0-9]+ \(\*)/ && !(ended == last && ended_doc) {
      printf "%s:%d: undocumented: %s\n", file, NR, $0; bad = 1 }
    NF { last = NR } END { exit bad }' "$header" || status=1
done
exit $status
