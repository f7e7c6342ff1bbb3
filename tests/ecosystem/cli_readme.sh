cat > points.csv <<'CSV'
x,y
0,0
1,2
3,3
5,1
6,2
CSV
zvcurve fit points.csv --degree 3 -o curve.json
zvcurve tessellate curve.json --format svg -o curve.svg
zvcurve tessellate curve.json --format csv | head -4
cat > line.json <<'JSON'
{"kind": "bspline", "degree": 1, "control_points": [[0, 2], [6, 0.5]]}
JSON
zvcurve intersect curve.json line.json
