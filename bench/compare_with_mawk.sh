#!/usr/bin/env bash
# Runs keno as a whole on a generated history of ROWS draws (default
# 1,000,000) side by side with mawk counting the same numbers, and prints
# the best of five wall times of each, their ratio, and keno's peak memory.
#   bench/compare_with_mawk.sh [ROWS]      (KENO=path/to/keno to choose)
set -euo pipefail
cd "$(dirname "$0")/.."
rows=${1:-1000000}
keno=$(realpath "${KENO:-build-bench/keno}")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
python3 tools/make_history.py --rows "$rows" "$work/keno10.csv"
cd "$work"

count_with_mawk() {
  mawk -F';' 'NR > 1 { for (i = 4; i <= 23; i++) c[$i]++ }
    END { for (n = 0; n <= 80; n++) printf "[%d] %d,", n, c[n] + 0; print "" }' keno10.csv
}
run_keno() { printf '72 3 60 17 25\n\n' | "$keno"; }

# Both count the same: keno's last line is mawk's table.
[ "$(run_keno | tail -n 1)" = "$(count_with_mawk)" ] || { echo "counts differ" >&2; exit 1; }

seconds() { local start end; start=$(date +%s%N); "$@" >/dev/null; end=$(date +%s%N); echo $((end - start)); }
best_keno=; best_mawk=
for _ in 1 2 3 4 5; do
  t=$(seconds run_keno); [ -z "$best_keno" ] || [ "$t" -lt "$best_keno" ] && best_keno=$t
  t=$(seconds count_with_mawk); [ -z "$best_mawk" ] || [ "$t" -lt "$best_mawk" ] && best_mawk=$t
done
peak=$( { /usr/bin/time -f %M "$keno" < <(printf '72 3 60 17 25\n\n') >/dev/null; } 2>&1 )
size=$(wc -c < keno10.csv)
awk -v rows="$rows" -v size="$size" -v k="$best_keno" -v m="$best_mawk" -v peak="$peak" 'BEGIN {
  printf "history: %d rows, %.1f MB\n", rows, size / 1e6
  printf "keno:    %.3f s (%.0f MB/s)\n", k / 1e9, size / (k / 1e9) / 1e6
  printf "mawk:    %.3f s\n", m / 1e9
  printf "ratio:   keno is %.1f times as fast as mawk\n", m / k
  printf "keno peak memory: %.1f MB\n", peak / 1024 }'
