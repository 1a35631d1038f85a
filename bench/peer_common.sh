# Shared by the peer-comparison scripts (sourced, not run): hyperfine and jq are
# installed when missing, and `ratio` reads the median ratio from hyperfine's JSON.
if ! command -v hyperfine >/dev/null || ! command -v jq >/dev/null; then
    sudo_cmd=(); [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
    "${sudo_cmd[@]}" apt-get update -q && "${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends hyperfine jq
fi
# Median of the first command over the median of the second.
ratio() { jq -r '.results[0].median / .results[1].median' "$1"; }
