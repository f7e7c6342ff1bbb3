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
  "$zvcurve" "$@" >out.txt 2>err.txt && fail "zvcurve $* succeeded"
  [ "$(wc -l <err.txt)" -eq 1 ] && grep -qF -- "$text" err.txt || fail "zvcurve $*: '$(cat err.txt)' lacks '$text'"
}
# A NURBS quarter of the unit circle: every vertex lies on the circle.
echo '{"kind": "nurbs", "degree": 2, "control_points": [[1, 0, 0], [1, 1, 0], [0, 1, 0]],
 "knots": [0, 0, 0, 1, 1, 1], "weights": [1, 0.7071067811865476, 1], "steps": 16}' >quarter.json

case $case_name in
gallery) # the same job as zv_gallery: the same page and summary
  "$zvcurve" gallery a.svg >a.txt && "$(dirname "$zvcurve")/zv_gallery" b.svg >b.txt
  cmp a.svg b.svg && diff <(sed 1d a.txt) <(sed 1d b.txt) || fail "zvcurve gallery and zv_gallery differ"
  panels=$(sed -n 's/.*(\([0-9]*\) panels).*/\1/p' a.txt)
  [ "$panels" -ge 8 ] && [ "$(grep -c '^<g>' a.svg)" -eq "$panels" ] || fail "expected $panels panels in the page"
  ;;
tessellate)
  "$zvcurve" tessellate quarter.json >q.csv
  [ "$(wc -l <q.csv)" -eq 18 ] && awk -F, 'NR > 1 && (sqrt($2*$2 + $3*$3) - 1)^2 > 1e-24 { exit 1 }' q.csv ||
    fail "expected 17 vertices on the circle, got: $(cat q.csv)"
  # Every format carries the same vertices; standard input works as '-'.
  "$zvcurve" tessellate - --format json <quarter.json >q.json
  "$python" -c 'import csv, json; v = [(b["x"], b["y"]) for b in json.load(open("q.json"))["vertices"]]
assert v == [(float(a["x"]), float(a["y"])) for a in csv.DictReader(open("q.csv"))]' || fail "JSON and CSV differ"
  "$zvcurve" tessellate quarter.json --format obj -o q.obj && "$zvcurve" tessellate quarter.json -f svg -o q.svg
  [ "$(grep -c '^v ' q.obj)" -eq 17 ] && grep -q '^l 1 2 .* 17$' q.obj && grep -q '<polyline' q.svg &&
    grep -q '</svg>' q.svg || fail "OBJ lacks vertices or the line, or SVG the polyline"
  # Zero weights give non-finite points (the library's contract); JSON stays valid.
  echo '{"kind": "nurbs", "control_points": [[0,0],[1,1],[2,0],[3,1]], "weights": [1,0,0,1]}' |
    "$zvcurve" tessellate - -f json | "$python" -c 'import json, sys; json.load(sys.stdin)' || fail "bad JSON"
  for kind in uniform-bspline uniform-bezier catmull-rom beta-spline bspline rational-bezier; do
    echo "{\"kind\": \"$kind\", \"control_points\": [[0,0],[1,2],[3,2],[4,0],[5,1],[6,0],[7,2]], \"steps\": 4}" |
      "$zvcurve" tessellate - | [ "$(wc -l)" -gt 4 ] || fail "$kind gave too few vertices"
  done
  ;;
fit)
  printf 'x,y,z\n0,0,0\n1,2,0.5\n3,3,1\n5,1,0.5\n6,2,0\n' >pts.csv
  # Degree 1 puts the span ends on the points: the fit passes through every one.
  "$zvcurve" fit pts.csv --degree 1 --steps 2 -o line.json && "$zvcurve" tessellate line.json >line.csv
  [ "$(cut -d, -f2- line.csv | grep -xFf <(sed 1d pts.csv) | sort -u | wc -l)" -eq 5 ] || fail "points missed"
  # A cubic fit starts and ends on the end points and reads back as a bspline.
  "$zvcurve" fit - -d 3 <pts.csv >cubic.json && "$zvcurve" tessellate cubic.json >cubic.csv
  ends=$(sed -n '2p;$p' cubic.csv | cut -d, -f2- | tr '\n' ' ')
  grep -q '"kind": "bspline"' cubic.json && [ "$ends" = "0,0,0 6,2,0 " ] || fail "not a bspline from end to end: $ends"
  ;;
intersect) # the circle quarter and the diagonal meet at (1/sqrt 2, 1/sqrt 2)
  echo '{"kind": "bspline", "degree": 1, "control_points": [[0, 0, 0], [2, 2, 0]]}' >diagonal.json
  "$zvcurve" intersect quarter.json diagonal.json >x.csv && "$zvcurve" intersect -f svg -o x.svg {quarter,diagonal}.json
  [ "$(wc -l <x.csv)" -eq 2 ] && awk -F, 'NR == 2 { exit ($2 - 0.70710678)^2 + ($3 - 0.70710678)^2 > 1e-4 }' x.csv &&
    grep -q '<circle' x.svg || fail "expected one crossing, also in the SVG, got $(cat x.csv)"
  ;;
errors) # each fault gives one line on stderr that names its place
  printf '{"kind": "nurbs",\n "degree": 2,\n "control_points": [[1, 0], [1, 1] [0, 1]]}\n' >syntax.json
  printf 'x,y\n0,0\n1,oops\n' >bad.csv
  fails_with 'syntax.json:3:' tessellate syntax.json
  fails_with "field 'control_points[1][1]'" tessellate - <<<'{"kind": "nurbs", "control_points": [[1, 0], [1, "a"]]}'
  fails_with "field 'knots'" tessellate - \
    <<<'{"kind": "bspline", "degree": 1, "control_points": [[1, 0], [1, 1]], "knots": [0]}'
  fails_with "field 'kind'" tessellate - <<<'{"kind": "spiral", "control_points": []}'
  fails_with 'bad.csv:3:3' fit bad.csv
  fails_with 'missing.json' tessellate missing.json
  fails_with 'format' tessellate quarter.json --format png
  fails_with 'subcommand' frobnicate
  for c in "" gallery tessellate fit intersect; do "$zvcurve" $c --help | grep -qi usage || fail "$c: no usage"; done
  ;;
readme)
  mkdir -p bin && ln -sf "$zvcurve" bin/zvcurve
  PATH="$PWD/bin:$PATH" bash -euo pipefail "$here/cli_readme.sh" >readme.txt
  [ -s curve.svg ] && [ "$(tail -1 readme.txt | cut -d, -f1)" = 0 ] || fail "README example: $(cat readme.txt)"
  ;;
*) fail "unknown case $case_name" ;;
esac
echo "cli $case_name: ok"
