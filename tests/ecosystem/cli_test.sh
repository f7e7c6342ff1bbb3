#!/usr/bin/env bash
# End-to-end checks of zvcurve, one group per command.
# usage: cli_test.sh CASE ZVCURVE TEST_DIR WORK_DIR
set -euo pipefail
case_name=$1 zvcurve=$2 here=$3 work=$4
rm -rf "$work" && mkdir -p "$work" && cd "$work"
python=$(command -v /usr/bin/python3 || command -v python3)

fail() { echo "FAIL: $*" >&2; exit 1; }
# Runs zvcurve expecting failure: one line on stderr that contains the text.
fails_with() {
  local text=$1; shift
  if "$zvcurve" "$@" >out.txt 2>err.txt; then fail "zvcurve $* succeeded"; fi
  [ "$(wc -l <err.txt)" -eq 1 ] || fail "zvcurve $*: expected one error line, got: $(cat err.txt)"
  grep -qF -- "$text" err.txt || fail "zvcurve $*: error '$(cat err.txt)' does not name '$text'"
}
# Largest distance of the CSV vertices from the origin's circle of radius r.
off_circle() { awk -F, -v r="$2" 'NR > 1 { d = sqrt($2*$2 + $3*$3) - r; if (d < 0) d = -d; if (d > m) m = d } END { printf "%.3g", m }' "$1"; }

# A NURBS quarter of the unit circle: every vertex lies on the circle.
cat > quarter.json <<'JSON'
{"kind": "nurbs", "degree": 2, "control_points": [[1, 0, 0], [1, 1, 0], [0, 1, 0]],
 "knots": [0, 0, 0, 1, 1, 1], "weights": [1, 0.7071067811865476, 1], "steps": 16}
JSON

case $case_name in
gallery)
  # zvcurve gallery is the same job as zv_gallery: the same page and summary.
  "$zvcurve" gallery a.svg >a.txt
  "$(dirname "$zvcurve")/zv_gallery" b.svg >b.txt
  cmp a.svg b.svg || fail "zvcurve gallery and zv_gallery draw different pages"
  diff <(sed 1d a.txt) <(sed 1d b.txt) || fail "summaries differ"
  panels=$(sed -n 's/.*(\([0-9]*\) panels).*/\1/p' a.txt)
  [ "$panels" -ge 8 ] && [ "$(grep -c '^<g>' a.svg)" -eq "$panels" ] || fail "expected $panels panels in the page"
  ;;
tessellate)
  "$zvcurve" tessellate quarter.json >q.csv
  [ "$(wc -l <q.csv)" -eq 18 ] || fail "expected 17 vertices, got $(($(wc -l <q.csv) - 1))"
  awk -v m="$(off_circle q.csv 1)" 'BEGIN { exit !(m < 1e-12) }' || fail "NURBS vertices leave the circle"
  # Every format carries the same vertices; standard input works as '-'.
  "$zvcurve" tessellate - --format json <quarter.json >q.json
  "$python" -c 'import json,sys; v=json.load(open("q.json"))["vertices"]; import csv; r=list(csv.DictReader(open("q.csv")));
assert len(v)==len(r) and all(float(a["x"])==b["x"] and float(a["y"])==b["y"] for a,b in zip(r,v))' || fail "JSON and CSV differ"
  "$zvcurve" tessellate quarter.json --format obj -o q.obj
  [ "$(grep -c '^v ' q.obj)" -eq 17 ] && grep -q '^l 1 2 .* 17$' q.obj || fail "OBJ lacks vertices or the line"
  "$zvcurve" tessellate quarter.json -f svg -o q.svg
  grep -q '<polyline' q.svg && grep -q '</svg>' q.svg || fail "SVG lacks the polyline"
  # Zero weights give non-finite points (the library's contract); JSON stays valid.
  echo '{"kind": "nurbs", "control_points": [[0,0],[1,1],[2,0],[3,1]], "weights": [1,0,0,1]}' >zero.json
  "$zvcurve" tessellate zero.json -f json | "$python" -c 'import json,sys; json.load(sys.stdin)' ||
    fail "JSON output with non-finite points does not parse"
  # Each uniform kind and a plain B-spline tessellate (vertex counts by the library's sampling).
  for kind in uniform-bspline uniform-bezier catmull-rom beta-spline bspline rational-bezier; do
    echo "{\"kind\": \"$kind\", \"control_points\": [[0,0],[1,2],[3,2],[4,0],[5,1],[6,0],[7,2]], \"steps\": 4}" >k.json
    "$zvcurve" tessellate k.json >k.csv || fail "$kind did not tessellate"
    [ "$(wc -l <k.csv)" -gt 4 ] || fail "$kind gave too few vertices"
  done
  ;;
fit)
  printf 'x,y,z\n0,0,0\n1,2,0.5\n3,3,1\n5,1,0.5\n6,2,0\n' >pts.csv
  # Degree 1 puts the span ends on the points: the fit passes through every one.
  "$zvcurve" fit pts.csv --degree 1 --steps 2 -o line.json
  "$zvcurve" tessellate line.json >line.csv
  while IFS=, read -r x y z; do
    awk -F, -v x="$x" -v y="$y" -v z="$z" 'NR > 1 && ($2-x)^2 + ($3-y)^2 + ($4-z)^2 < 1e-24 { found = 1 } END { exit !found }' line.csv ||
      fail "the degree-1 fit misses ($x, $y, $z)"
  done < <(sed 1d pts.csv)
  # A cubic fit starts and ends on the end points and reads back as a bspline.
  "$zvcurve" fit - -d 3 <pts.csv >cubic.json
  grep -q '"kind": "bspline"' cubic.json || fail "the fit is not a bspline description"
  "$zvcurve" tessellate cubic.json >cubic.csv
  [ "$(sed -n 2p cubic.csv | cut -d, -f2-)" = "0,0,0" ] || fail "the cubic does not start at the first point"
  [ "$(tail -1 cubic.csv | cut -d, -f2-)" = "6,2,0" ] || fail "the cubic does not end at the last point"
  ;;
intersect)
  # The circle quarter and the diagonal meet at (1/sqrt 2, 1/sqrt 2).
  echo '{"kind": "bspline", "degree": 1, "control_points": [[0, 0, 0], [2, 2, 0]]}' >diagonal.json
  "$zvcurve" intersect quarter.json diagonal.json >x.csv
  [ "$(wc -l <x.csv)" -eq 2 ] || fail "expected one crossing, got $(cat x.csv)"
  awk -F, 'NR == 2 { exit !(($2 - 0.70710678)^2 < 1e-4 && ($3 - 0.70710678)^2 < 1e-4) }' x.csv || fail "crossing at $(sed -n 2p x.csv)"
  "$zvcurve" intersect quarter.json diagonal.json --format svg -o x.svg
  grep -q '<circle' x.svg || fail "SVG lacks the crossing"
  ;;
errors)
  printf '{"kind": "nurbs",\n "degree": 2,\n "control_points": [[1, 0], [1, 1] [0, 1]]}\n' >syntax.json
  fails_with 'syntax.json:3:' tessellate syntax.json
  echo '{"kind": "nurbs", "degree": 2, "control_points": [[1, 0], [1, "a"], [0, 1]]}' >field.json
  fails_with "field 'control_points[1][1]'" tessellate field.json
  echo '{"kind": "bspline", "degree": 2, "control_points": [[1, 0], [1, 1], [0, 1]], "knots": [0, 1]}' >knots.json
  fails_with "field 'knots'" tessellate knots.json
  echo '{"kind": "spiral", "control_points": []}' >kind.json
  fails_with "field 'kind'" tessellate kind.json
  printf 'x,y\n0,0\n1,oops\n' >bad.csv
  fails_with 'bad.csv:3:3' fit bad.csv
  fails_with 'missing.json' tessellate missing.json
  fails_with 'format' tessellate quarter.json --format png
  fails_with 'subcommand' frobnicate
  for command in "" gallery tessellate fit intersect; do
    "$zvcurve" $command --help >help.txt || fail "zvcurve $command --help failed"
    grep -q -i 'usage' help.txt || fail "zvcurve $command --help shows no usage"
  done
  ;;
readme)
  mkdir -p bin && ln -sf "$zvcurve" bin/zvcurve
  PATH="$PWD/bin:$PATH" bash -euo pipefail "$here/cli_readme.sh" >readme.txt
  [ -s curve.svg ] && [ "$(tail -1 readme.txt | cut -d, -f1)" = 0 ] || fail "README example: $(cat readme.txt)"
  ;;
*) fail "unknown case $case_name" ;;
esac
echo "cli $case_name: ok"
