#!/usr/bin/env bash
# Times listing, export and import against their floors on the same data, measured with the
# sqlite3 command-line tool, and writes the figures into bench/RESULTS.md.
#   bash bench/run.sh [N...]     N cards with 10 price rows each; default 100000 and 20000
#   RUNS=5 bash bench/run.sh     more runs per figure (the median is reported; at least 3)
#   CLI=/path/stoktransfer-cli OUT=/tmp/r.md bash bench/run.sh   another build (say, the one
#                                before a change), its figures written elsewhere (EKRAN= names
#                                that build's screen driver; without it the screen is not timed)
#
# The import is also timed as the filter screen runs it ("DOSYADAN AL"), on the same file,
# against the command-line import: build/bench/ekran-olcumu opens the real FiltreFrm with the
# screen's own operator seam (progress display, pending-event turns) and answers its file
# dialog and message boxes itself; it is built with the rest but is no part of the program.
# It draws on Qt's offscreen platform unless QT_QPA_PLATFORM says otherwise, e.g.
#   QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1280x900x24" bash bench/run.sh
set -euo pipefail
cd "$(dirname "$0")/.."
SIZES=("$@")
[ ${#SIZES[@]} -gt 0 ] || SIZES=(100000 20000)
RUNS=${RUNS:-3}
[ "$RUNS" -ge 3 ] || RUNS=3
OUT=${OUT:-bench/RESULTS.md}
bash scripts/install-deps.sh >/dev/null
if [ ! -x /usr/bin/time ]; then
  sudo=""; [ "$(id -u)" -eq 0 ] || sudo=sudo
  $sudo apt-get install -y -qq time >/dev/null
fi
if [ -z "${CLI:-}" ]; then
  bash scripts/build.sh >/dev/null
  CLI="$PWD/build/src/stoktransfer-cli"
  EKRAN=${EKRAN:-$PWD/build/bench/ekran-olcumu}
fi
EKRAN=${EKRAN:-}
W=$(mktemp -d /tmp/stokbench.XXXXXX)
trap 'rm -rf "$W"' EXIT
REPORT="$W/report.md"
machine="$(nproc) cores, $(awk '/MemTotal/ {printf "%.0f GiB", $2/1048576}' /proc/meminfo), $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //')"
{
  echo "# Benchmark results"
  echo
  echo "Run on $(date -u '+%Y-%m-%d %H:%M UTC'), $machine, $(uname -sr)."
  echo "Each figure is the median of $RUNS runs; peak RSS is the largest of the runs."
  echo "Reproduce with \`bash bench/run.sh ${SIZES[*]}\`. The machine may be shared: figures can be noisy."
} >"$REPORT"

bench_size() {
N=$1
rm -rf "$W/demo"
export STOKTRANSFER_PASSWORD=1234
LOGIN=(--server "$W/demo" --user torvela)

echo "Writing the demo back-office with $N cards x 10 price rows ..."
"$CLI" demo "$W/demo" --cards "$N" --prices 10 >/dev/null
# Every copy is taken from a checkpointed file, so no -wal file is needed beside it.
sqlite3 "$W/demo/FIRMA02.sqlite" "PRAGMA wal_checkpoint(TRUNCATE);" >/dev/null
cp "$W/demo/FIRMA02.sqlite" "$W/target.sqlite"

# measure NAME PREPARE -- COMMAND...
# Runs PREPARE (untimed) then COMMAND, RUNS times; keeps the median elapsed seconds and the
# largest peak RSS (kB). The output of the last run stays in $W/out.txt.
declare -A SECS RSS
measure() {
  local name=$1 prep=$2; shift 3
  local times=() peak=0 t m
  for ((i = 0; i < RUNS; i++)); do
    eval "$prep"
    /usr/bin/time -f "%e %M" -o "$W/time.txt" "$@" >"$W/out.txt" 2>"$W/err.txt" || { cat "$W/err.txt" "$W/out.txt" >&2; exit 1; }
    read -r t m < <(tail -n 1 "$W/time.txt")
    times+=("$t")
    ((m > peak)) && peak=$m
  done
  SECS[$name]=$(printf '%s\n' "${times[@]}" | sort -n | sed -n "$(((RUNS + 1) / 2))p")
  RSS[$name]=$peak
  echo "  $name: ${SECS[$name]} s (median of $RUNS: ${times[*]}), peak RSS $((peak / 1024)) MB"
}

fresh_target='cp "$W/target.sqlite" "$W/demo/FIRMA02.sqlite"; rm -f "$W/demo/FIRMA02.sqlite-wal" "$W/demo/FIRMA02.sqlite-shm"'

echo "Our commands:"
measure list ":" -- "$CLI" list "${LOGIN[@]}" --company 01
LIST_SQL=$(head -n 1 "$W/out.txt")   # list prints its statement first
LISTED=$(tail -n 1 "$W/out.txt")
measure export "rm -f \"$W/file.txt\"" -- "$CLI" export "${LOGIN[@]}" --company 01 "$W/file.txt"
FILE_MB=$(du -m "$W/file.txt" | cut -f1)
measure import "$fresh_target" -- "$CLI" import "${LOGIN[@]}" --company 02 --stats "$W/file.txt"
cp "$W/out.txt" "$W/import-summary.txt"
measure dryrun "$fresh_target" -- "$CLI" import "${LOGIN[@]}" --company 02 --dry-run "$W/file.txt"
# The change report, where the build has one.
SECS[report]=0 RSS[report]=0 REPORT_MB=0
if "$CLI" 2>&1 | grep -q -- --report; then
  measure report "$fresh_target; rm -f \"$W/report.csv\"" -- "$CLI" import "${LOGIN[@]}" --company 02 --report "$W/report.csv" "$W/file.txt"
  REPORT_MB=$(du -m "$W/report.csv" | cut -f1)
fi
SECS[screen]=0 RSS[screen]=0
[ -z "$EKRAN" ] || measure screen "$fresh_target" -- "$EKRAN" "$W/demo" torvela 02 "$W/file.txt"

echo "Floors (sqlite3):"
measure floor_list ":" -- sqlite3 "$W/demo/FIRMA01.sqlite" "$LIST_SQL"
measure floor_read ":" -- sqlite3 "$W/demo/FIRMA01.sqlite" "SELECT * FROM STOKKART; SELECT * FROM STOKFIYAT;"
empty_target='cp "$W/target.sqlite" "$W/empty.sqlite"; sqlite3 "$W/empty.sqlite" "DELETE FROM STOKKART; DELETE FROM STOKFIYAT; VACUUM;" >/dev/null'
measure floor_copy "$empty_target" -- sqlite3 "$W/empty.sqlite" \
  "ATTACH '$W/demo/FIRMA01.sqlite' AS src; BEGIN; INSERT INTO STOKKART SELECT * FROM src.STOKKART; INSERT INTO STOKFIYAT SELECT * FROM src.STOKFIYAT; COMMIT;"

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b <= 0) b = 0.01; printf "%.2f", a / b }'; }
verdict() { awk -v r="$1" -v l="$2" 'BEGIN { print (r <= l) ? "yes" : "NO" }'; }
R_LIST=$(ratio "${SECS[list]}" "${SECS[floor_list]}")
R_EXPORT=$(ratio "${SECS[export]}" "${SECS[floor_read]}")
R_IMPORT=$(ratio "${SECS[import]}" "${SECS[floor_copy]}")
R_DRY=$(ratio "${SECS[dryrun]}" "${SECS[floor_copy]}")
R_REPORT=$(ratio "${SECS[report]}" "${SECS[floor_copy]}")
R_SCREEN=$(ratio "${SECS[screen]}" "${SECS[import]}")
mb() { echo "$(($1 / 1024)) MB"; }

{
  echo
  echo "## N = $N cards x 10 price rows"
  echo
  echo "| command | seconds | floor (sqlite3) | floor seconds | ratio | limit | within | peak RSS |"
  echo "|---|---|---|---|---|---|---|---|"
  echo "| list (all cards) | ${SECS[list]} | the list statement itself | ${SECS[floor_list]} | $R_LIST | 3 | $(verdict "$R_LIST" 3) | $(mb "${RSS[list]}") |"
  echo "| export (all cards, all levels) | ${SECS[export]} | read every card and price row | ${SECS[floor_read]} | $R_EXPORT | 3 | $(verdict "$R_EXPORT" 3) | $(mb "${RSS[export]}") |"
  echo "| import into the target | ${SECS[import]} | INSERT ... SELECT of every card and price row, one transaction | ${SECS[floor_copy]} | $R_IMPORT | 6 | $(verdict "$R_IMPORT" 6) | $(mb "${RSS[import]}") |"
  echo "| import --dry-run | ${SECS[dryrun]} | (same) | ${SECS[floor_copy]} | $R_DRY | - | - | $(mb "${RSS[dryrun]}") |"
  [ "${SECS[report]}" = 0 ] || echo "| import --report (change report of $REPORT_MB MB) | ${SECS[report]} | (same) | ${SECS[floor_copy]} | $R_REPORT | 6 | $(verdict "$R_REPORT" 6) | $(mb "${RSS[report]}") |"
  [ -z "$EKRAN" ] || echo "| import from the screen (DOSYADAN AL, ${QT_QPA_PLATFORM:-offscreen}) | ${SECS[screen]} | the command-line import above | ${SECS[import]} | $R_SCREEN | 1.5 | $(verdict "$R_SCREEN" 1.5) | $(mb "${RSS[screen]}") |"
  echo
  echo "Transfer file: $FILE_MB MB. $LISTED"
  echo
  echo "Peak RSS of the sqlite3 floors: list $(mb "${RSS[floor_list]}"), read $(mb "${RSS[floor_read]}"), copy $(mb "${RSS[floor_copy]}")."
  echo
  echo "Import summary with the statements the database layer counted (\`import --stats\`):"
  echo
  echo '```'
  cat "$W/import-summary.txt"
  echo '```'
} >>"$REPORT"
}

for n in "${SIZES[@]}"; do
  bench_size "$n"
done
cp "$REPORT" "$OUT"
cat "$OUT"
