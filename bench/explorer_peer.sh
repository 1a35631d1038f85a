#!/usr/bin/env bash
# The explorer's listing of a folder of 100,000 files against `ls -l` on the same
# folder, whole processes in one hyperfine run; then the file list filled in the
# window (Google Benchmark). Installs hyperfine itself.
set -euo pipefail
cd "$(dirname "$0")/.."
source bench/peer_common.sh
cmake --build --preset default --target explorer_list bench_ui_explorer
folder=$(dirname "$(mktemp -u)")/pictra-bench-100k
if [ ! -f "$folder/datei99999.txt" ]; then
    mkdir -p "$folder"
    (cd "$folder" && seq 0 99999 | sed 's/^/datei/; s/$/.txt/' | xargs touch)
fi
hyperfine -w 2 -r 10 -N --export-json /tmp/pictra-explorer.json \
    "build/bin/explorer_list $folder" \
    "ls -l --time-style=+%d.%m.%y $folder"
echo "listing 100,000 files, Pictra / ls -l: $(jq -r '.results[0].median / .results[1].median' /tmp/pictra-explorer.json)"
QT_QPA_PLATFORM=offscreen build/bin/bench_ui_explorer
