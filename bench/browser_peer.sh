#!/usr/bin/env bash
# The browser windows against their peers, one line per job: "job | pictra | peer | ratio | goal".
#  - F9 to the loaded page (10 KB, 1 MB, 20 MB; bench_ui_browser, offscreen, warmed process)
#    against a bare web view loading the same file in the same process (the floor);
#  - the first F9 after start (a cold process that paints its main window, opens the page
#    and shows it) against `chromium --headless --dump-dom` and `firefox-esr --headless
#    --screenshot` on the same file;
#  - "Tote Links suchen" over 300 links on a local server (ok, 404 and slow paths) against
#    linkchecker, with curl fetching the same links six at a time as the floor.
# Installs its peers itself; a peer that cannot be installed is skipped with a message.
# About four minutes on an idle machine; figures mean something only there.
set -euo pipefail
cd "$(dirname "$0")/.."
source bench/peer_common.sh
sudo_cmd=(); [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
have() { command -v "$1" >/dev/null; }
missing=()
for peer in chromium firefox-esr linkchecker curl; do have "$peer" || missing+=("$peer"); done
if [ ${#missing[@]} -gt 0 ]; then
    "${sudo_cmd[@]}" apt-get update -q >/dev/null || echo "apt-get update failed; using the package lists there are"
    for peer in "${missing[@]}"; do
        DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "$peer" >/dev/null ||
            echo "$peer cannot be installed here: its comparison is skipped"
    done
fi
# Through the shared build lock, as other builds may run beside it.
flock /tmp/pictra-build.lock cmake --build build -j2 --target browser_tool bench_ui_browser >/dev/null
tool=$PWD/build/bin/browser_tool
work=${PICTRA_BENCH_DIR:-/var/tmp/pictra-bench-browser}
mkdir -p "$work"
export QTWEBENGINE_DISABLE_SANDBOX=1 HOME=${HOME:-/root}
# printf and awk read and write the times with a decimal point whatever the caller's locale.
export LC_ALL=C.UTF-8

# job | pictra | peer | ratio | goal from two times in seconds.
line() {
    local job=$1 mine=$2 peer=$3 theirs=$4 goal=$5
    printf '%s | %.3f s | %s %.3f s | %.2f | %s\n' "$job" "$mine" "$peer" "$theirs" "$(awk "BEGIN { print $mine / $theirs }")" "$goal"
}
median() { jq -r ".results[$2].median" "$1"; }

# F9 in a warmed process against the bare view; google benchmark gives milliseconds per round.
build/bin/bench_ui_browser --benchmark_format=json --benchmark_out="$work/f9.json" >/dev/null 2>&1
for size in 10000:10 1000000:1 20000000:20; do
    bytes=${size%%:*}
    mine=$(jq -r ".benchmarks[] | select(.name | startswith(\"BM_F9ToLoaded/$bytes/\")) | .real_time / 1000" "$work/f9.json")
    floor=$(jq -r ".benchmarks[] | select(.name | startswith(\"BM_BareViewLoad/$bytes/\")) | .real_time / 1000" "$work/f9.json")
    unit=$([ "$bytes" -ge 1000000 ] && echo MB || echo KB)
    within=$(awk "BEGIN { print ($mine <= $floor * 1.2 + 0.010) ? 1 : 0 }")
    line "F9 to the loaded page, ${size##*:} $unit" "$mine" "bare web view (floor)" "$floor" \
        "≤ 1.2× + 10 ms ($([ "$within" -eq 1 ] && echo met || echo missed))"
done

python3 - "$work" <<'PY'
import sys
work = sys.argv[1]
for name, size in (("seite10k.html", 10_000), ("seite1m.html", 1_000_000)):
    p = "<html>\r\n<head><title>Seite</title></head>\r\n<body>\r\n"
    i = 0
    while len(p) < size:
        p += "<p>Absatz %d mit <b>fettem</b> und <a href=\"s.html\">verlinktem</a> Text.</p>\r\n" % i
        i += 1
    open(work + "/" + name, "w", newline="").write(p + "</body>\r\n</html>\r\n")
PY

# First F9 of a fresh process against the outside browsers, cold, on the same file.
for page in seite10k.html seite1m.html; do
    commands=("$tool f9 $work/$page")
    names=("Pictra")
    if have chromium; then
        commands+=("chromium --headless --no-sandbox --disable-gpu --dump-dom file://$work/$page")
        names+=("chromium --dump-dom")
    fi
    if have firefox-esr; then
        commands+=("firefox-esr --headless --screenshot $work/firefox.png file://$work/$page")
        names+=("firefox-esr --screenshot")
    fi
    [ ${#commands[@]} -gt 1 ] || continue
    hyperfine -N -w 1 -r 5 --export-json "$work/f9-$page.json" --output=null "${commands[@]}" >/dev/null
    for i in $(seq 1 $((${#commands[@]} - 1))); do
        line "first F9 after start, $page" "$(median "$work/f9-$page.json" 0)" "${names[$i]}" \
            "$(median "$work/f9-$page.json" "$i")" "faster"
    done
done

# 300 links: 250 that answer at once, 30 missing (404) and 20 that answer after 300 ms.
port=$((20000 + RANDOM % 20000))
python3 - "$port" "$work" <<'PY' &
import http.server, random, socketserver, sys, time
port, work = int(sys.argv[1]), sys.argv[2]
links = ["/ok/%d.html" % i for i in range(250)] + ["/weg/%d.html" % i for i in range(30)] + \
        ["/langsam/%d.html" % i for i in range(20)]
random.Random(4711).shuffle(links)
page = "<html><body>\n" + "".join('<a href="%s">Link %d</a><br>\n' % (l, i) for i, l in enumerate(links)) + \
       "</body></html>\n"
open(work + "/links.txt", "w").write("".join("http://127.0.0.1:%d%s\n" % (port, l) for l in links))

class Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    def log_message(self, *args): pass
    def answer(self, body):
        if self.path.startswith("/weg/"):
            self.send_response(404)
            body = b"nicht da"
        else:
            if self.path.startswith("/langsam/"): time.sleep(0.3)
            self.send_response(200)
        self.send_header("Content-Type", "text/html")
        # Lets linkchecker go above its polite ten requests a second to one host.
        self.send_header("LinkChecker", "ja")
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        return body
    def do_GET(self):
        body = page.encode() if self.path == "/links.html" else b"<html><body><p>Seite ohne Links</p></body></html>"
        self.wfile.write(self.answer(body))
    def do_HEAD(self):
        self.answer(b"")

class Server(socketserver.ThreadingMixIn, http.server.HTTPServer):
    daemon_threads = True
    allow_reuse_address = True
    # A client that ends with its connections still open (curl, each run's last links) is no error here.
    def handle_error(self, request, client_address): pass
Server(("127.0.0.1", port), Handler).serve_forever()
PY
server=$!
trap 'kill $server 2>/dev/null' EXIT
for _ in $(seq 1 50); do curl -s -o /dev/null "http://127.0.0.1:$port/links.html" && break; sleep 0.1; done
start="http://127.0.0.1:$port/links.html"
mine_dead=$("$tool" links "$start" 2>/dev/null | sed -n 's/.*, \([0-9]*\) dead/\1/p')
commands=("$tool links $start" "bash -c 'xargs -P6 -n1 curl -s -o /dev/null --max-time 10 < $work/links.txt'")
verdict="faster, same verdicts"
if have linkchecker; then
    printf '[checking]\nmaxrequestspersecond=1000\n' >"$work/linkcheckerrc"
    # Exit code 1 means "errors found", which is the expected verdict here.
    linkchecker -f "$work/linkcheckerrc" --no-status --no-warnings -r1 -o csv "$start" >"$work/linkchecker.csv" 2>/dev/null || true
    their_dead=$(grep -c '404' "$work/linkchecker.csv" || true)
    verdict="faster, same verdicts ($([ "$mine_dead" = "$their_dead" ] && echo same: || echo DIFFERENT:) Pictra $mine_dead dead, linkchecker $their_dead)"
    commands+=("linkchecker -f $work/linkcheckerrc --no-status --no-warnings -r1 -o none $start")
fi
hyperfine -N -i -w 1 -r 5 --export-json "$work/links.json" --output=null "${commands[@]}" >/dev/null
if have linkchecker; then
    line "dead links, 300 on a local server" "$(median "$work/links.json" 0)" linkchecker "$(median "$work/links.json" 2)" "$verdict"
fi
line "dead links, 300 on a local server" "$(median "$work/links.json" 0)" "curl six at a time (floor)" \
    "$(median "$work/links.json" 1)" "floor"
