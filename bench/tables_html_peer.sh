#!/usr/bin/env bash
# Table conversions at 1,000 and 100,000 rows of 6 columns against their peers,
# each pair in one hyperfine run on the same files: star table to HTML against
# pandoc (markdown simple table), HTML to star table against w3m -dump and
# pandoc -t plain, CSV to HTML against pandoc -f csv, tab alignment against
# column -t. Installs pandoc, w3m, bsdextrautils (column), hyperfine and jq itself.
set -euo pipefail
cd "$(dirname "$0")/.."
source bench/peer_common.sh
if ! command -v pandoc >/dev/null || ! command -v w3m >/dev/null || ! command -v column >/dev/null; then
    sudo_cmd=(); [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
    "${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends pandoc w3m bsdextrautils
fi
cmake --build --preset default --target html_tool
tool=$PWD/build/bin/html_tool
work=${PICTRA_BENCH_DIR:-/var/tmp/pictra-bench-tables}
mkdir -p "$work"
runs=${PICTRA_BENCH_RUNS:-5}
for rows in 1000 100000; do
    d=$work/$rows
    mkdir -p "$d"
    if [ ! -f "$d/table.html" ]; then
        # The same cells in every format: a star table (which is also a markdown
        # simple table once a dashed line follows its header), CSV, tabs and HTML.
        awk -v n="$rows" 'BEGIN { srand(3);
            star = "*         *         *         *         *         *";
            md = "Name      Vorname   Ort       Fach      Punkte    Note";
            print star > "'"$d"'/star.txt"; print md > "'"$d"'/star.txt";
            print md > "'"$d"'/table.md"; print "--------- --------- --------- --------- --------- ---------" > "'"$d"'/table.md";
            print "Name;Vorname;Ort;Fach;Punkte;Note" > "'"$d"'/table.csv";
            print "Name\tVorname\tOrt\tFach\tPunkte\tNote" > "'"$d"'/table.tsv";
            print "<table border=1>" > "'"$d"'/table.html";
            print "<tr><td>Name</td><td>Vorname</td><td>Ort</td><td>Fach</td><td>Punkte</td><td>Note</td></tr>" > "'"$d"'/table.html";
            for (i = 0; i < n; i++) {
                a = sprintf("N%07d", i); b = sprintf("V%05d", int(rand()*1e5)); c = sprintf("O%04d", int(rand()*1e4));
                e = sprintf("F%02d", int(rand()*40)); p = int(rand()*100); g = int(rand()*6) + 1;
                line = sprintf("%-10s%-10s%-10s%-10s%-10s%s", a, b, c, e, p, g);
                print line > "'"$d"'/star.txt"; print line > "'"$d"'/table.md";
                printf "%s;%s;%s;%s;%s;%s\n", a, b, c, e, p, g > "'"$d"'/table.csv";
                printf "%s\t%s\t%s\t%s\t%s\t%s\n", a, b, c, e, p, g > "'"$d"'/table.tsv";
                printf "<tr><td>%s</td><td>%s</td><td>%s</td><td>%s</td><td>%s</td><td>%s</td></tr>\n", a, b, c, e, p, g > "'"$d"'/table.html";
            }
            print "</table>" > "'"$d"'/table.html" }'
    fi
    # At 100,000 rows a peer takes tens of seconds a run: two runs, no warm-up.
    r=$runs; w=1; [ "$rows" -ge 100000 ] && r=2 && w=0
    hyperfine -w "$w" -r "$r" -N --export-json "$d/star.json" \
        "$tool star $d/star.txt $d/out-star.html" "pandoc -f markdown -t html -o $d/out-pandoc.html $d/table.md" \
        "$tool copy $d/star.txt $d/out-copy.txt"
    hyperfine -w "$w" -r "$r" --export-json "$d/html.json" \
        "$tool html $d/table.html $d/out-html.txt" "w3m -dump -T text/html $d/table.html > $d/out-w3m.txt" \
        "pandoc -f html -t plain -o $d/out-pandoc.txt $d/table.html" "$tool copy $d/table.html $d/out-copy.txt"
    hyperfine -w "$w" -r "$r" -N --export-json "$d/csv.json" \
        "$tool csv $d/table.csv $d/out-csv.html" "pandoc -f csv -t html -o $d/out-pandoc-csv.html $d/table.csv" \
        "$tool copy $d/table.csv $d/out-copy.txt"
    hyperfine -w "$w" -r "$r" --export-json "$d/tabs.json" \
        "$tool tabs $d/table.tsv $d/out-tabs.txt" "column -t -s \$'\\t' $d/table.tsv > $d/out-column.txt" \
        "$tool copy $d/table.tsv $d/out-copy.txt"
    med() { jq -r ".results[$2].median" "$1"; }
    over() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.1f", b / a }'; }
    echo "== $rows rows x 6 columns (peer time / Pictra time; Pictra time / floor)"
    s=$(med "$d/star.json" 0); echo "star -> HTML: pandoc $(over "$s" "$(med "$d/star.json" 1)")x, floor $(over "$(med "$d/star.json" 2)" "$s")x"
    h=$(med "$d/html.json" 0); echo "HTML -> star: w3m $(over "$h" "$(med "$d/html.json" 1)")x, pandoc $(over "$h" "$(med "$d/html.json" 2)")x, floor $(over "$(med "$d/html.json" 3)" "$h")x"
    c=$(med "$d/csv.json" 0); echo "CSV -> HTML: pandoc $(over "$c" "$(med "$d/csv.json" 1)")x, floor $(over "$(med "$d/csv.json" 2)" "$c")x"
    t=$(med "$d/tabs.json" 0); echo "tab alignment: column -t $(over "$t" "$(med "$d/tabs.json" 1)")x, floor $(over "$(med "$d/tabs.json" 2)" "$t")x"
done
