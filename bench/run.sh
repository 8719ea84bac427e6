#!/usr/bin/env bash
# Benchmarks listing, export and import against their floors on the same data, measured with
# the sqlite3 command-line tool, and writes the figures into bench/RESULTS.md.
#   bash bench/run.sh [N]        (N cards with 10 price rows each; default 100000)
set -euo pipefail
cd "$(dirname "$0")/.."
N=${1:-100000}
RUNS=${RUNS:-3}
bash scripts/install-deps.sh >/dev/null
command -v /usr/bin/time >/dev/null || { sudo=""; [ "$(id -u)" -eq 0 ] || sudo=sudo; $sudo apt-get install -y -qq time >/dev/null; }
bash scripts/build.sh >/dev/null

CLI="$PWD/build/src/stoktransfer-cli"
W=$(mktemp -d /tmp/stokbench.XXXXXX)
trap 'rm -rf "$W"' EXIT
export STOKTRANSFER_PASSWORD=1234
LOGIN=(--server "$W/demo" --user torvela)

echo "Writing the demo back-office with $N cards x 10 price rows ..."
"$CLI" demo "$W/demo" --cards "$N" --prices 10 >/dev/null
cp "$W/demo/FIRMA02.sqlite" "$W/target.sqlite"

# median of the elapsed seconds of RUNS runs; peak RSS (kB) of the last run.
# usage: measure NAME PREPARE-COMMAND -- COMMAND...
declare -A SECS RSS
measure() {
  local name=$1 prep=$2; shift 3
  local times=()
  for ((i = 0; i < RUNS; i++)); do
    eval "$prep"
    /usr/bin/time -f "%e %M" -o "$W/time.txt" "$@" >"$W/out.txt" 2>"$W/err.txt" || { cat "$W/err.txt"; exit 1; }
    read -r t m <"$W/time.txt"
    times+=("$t")
  done
  SECS[$name]=$(printf '%s\n' "${times[@]}" | sort -n | sed -n "$(((RUNS + 1) / 2))p")
  RSS[$name]=$m
  echo "  $name: ${SECS[$name]} s (median of $RUNS), peak RSS $((m / 1024)) MB"
}

fresh_target='cp "$W/target.sqlite" "$W/demo/FIRMA02.sqlite"; rm -f "$W/demo/FIRMA02.sqlite-wal" "$W/demo/FIRMA02.sqlite-shm"'

echo "Our commands:"
measure list ":" -- "$CLI" list "${LOGIN[@]}" --company 01
LISTED=$(tail -n 1 "$W/out.txt")
measure export "rm -f \"$W/file.txt\"" -- "$CLI" export "${LOGIN[@]}" --company 01 "$W/file.txt"
measure import "$fresh_target" -- "$CLI" import "${LOGIN[@]}" --company 02 --stats "$W/file.txt"
cp "$W/out.txt" "$W/import-summary.txt"
measure dryrun "$fresh_target" -- "$CLI" import "${LOGIN[@]}" --company 02 --dry-run "$W/file.txt"

echo "Floors (sqlite3):"
LIST_SQL=$("$CLI" list "${LOGIN[@]}" --company 01 --sql-only)
measure floor_list ":" -- sqlite3 "$W/demo/FIRMA01.sqlite" "$LIST_SQL"
measure floor_read ":" -- sqlite3 "$W/demo/FIRMA01.sqlite" "SELECT * FROM STOKKART; SELECT * FROM STOKFIYAT;"
empty_target='cp "$W/target.sqlite" "$W/empty.sqlite"; sqlite3 "$W/empty.sqlite" "DELETE FROM STOKKART; DELETE FROM STOKFIYAT; VACUUM;"'
measure floor_copy "$empty_target" -- sqlite3 "$W/empty.sqlite" \
  "ATTACH '$W/demo/FIRMA01.sqlite' AS src; BEGIN; INSERT INTO STOKKART SELECT * FROM src.STOKKART; INSERT INTO STOKFIYAT SELECT * FROM src.STOKFIYAT; COMMIT;"

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b <= 0) b = 0.001; printf "%.2f", a / b }'; }
R_LIST=$(ratio "${SECS[list]}" "${SECS[floor_list]}")
R_EXPORT=$(ratio "${SECS[export]}" "${SECS[floor_read]}")
R_IMPORT=$(ratio "${SECS[import]}" "${SECS[floor_copy]}")
R_DRY=$(ratio "${SECS[dryrun]}" "${SECS[floor_copy]}")
STATS=$(grep -E '^(komut|statements)' "$W/import-summary.txt" || true)

machine="$(nproc) cores, $(awk '/MemTotal/ {printf "%.0f GiB", $2/1048576}' /proc/meminfo), $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //')"
{
  echo "# Benchmark results"
  echo
  echo "Run on $(date -u '+%Y-%m-%d %H:%M UTC'), $machine; N = $N cards x 10 price rows; median of $RUNS runs."
  echo
  echo "| command | seconds | floor | floor seconds | ratio | limit | peak RSS |"
  echo "|---|---|---|---|---|---|---|"
  echo "| list (all cards) | ${SECS[list]} | raw list statement | ${SECS[floor_list]} | $R_LIST | 3 | $((RSS[list] / 1024)) MB |"
  echo "| export (all cards, all levels) | ${SECS[export]} | raw read of cards and prices | ${SECS[floor_read]} | $R_EXPORT | 3 | $((RSS[export] / 1024)) MB |"
  echo "| import into the target | ${SECS[import]} | bulk INSERT ... SELECT | ${SECS[floor_copy]} | $R_IMPORT | 8 | $((RSS[import] / 1024)) MB |"
  echo "| import --dry-run | ${SECS[dryrun]} | bulk INSERT ... SELECT | ${SECS[floor_copy]} | $R_DRY | - | $((RSS[dryrun] / 1024)) MB |"
  echo
  echo "Listed: $LISTED"
  echo
  echo "Statements sent by the import, per card (counted by the database layer):"
  echo
  echo '```'
  cat "$W/import-summary.txt"
  echo '```'
} >bench/RESULTS.md
cat bench/RESULTS.md
