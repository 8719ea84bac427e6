#!/usr/bin/env bash
# Times listing, export and import against their floors on the same data, measured with the
# sqlite3 command-line tool, and writes the figures into bench/RESULTS.md; then the same on
# SQL Server, against floors measured with isql on the same server in the same run.
#   bash bench/run.sh [N...]     N cards with 10 price rows each; default 100000 and 20000
#   MSSQL_SIZES="20000"          the sizes on SQL Server (default 20000; "" for none). The server:
#                                MSSQL="host,port;user;password" (an administrator login), else a
#                                T-SQL test server from ../shared/tsql-server started on port
#                                BENCH_TSQL_PORT (default 14339) and stopped at the end;
#                                MSSQL_RUNS runs per figure there (default RUNS)
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
TSQL_STARTED=""
cleanup() {
  rm -rf "$W"
  [ -z "$TSQL_STARTED" ] || TSQL_PORT=$TSQL_STARTED bash ../shared/tsql-server/stop.sh >/dev/null 2>&1 || true
}
trap cleanup EXIT
REPORT="$W/report.md"
machine="$(nproc) cores, $(awk '/MemTotal/ {printf "%.0f GiB", $2/1048576}' /proc/meminfo), $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //')"
{
  echo "# Benchmark results"
  echo
  echo "Run on $(date -u '+%Y-%m-%d %H:%M UTC'), $machine, $(uname -sr)."
  echo "Each figure is the median of $RUNS runs; peak RSS is the largest of the runs."
  echo "Reproduce with \`bash bench/run.sh ${SIZES[*]}\`. The machine may be shared: figures can be noisy."
} >"$REPORT"

# measure NAME PREPARE -- COMMAND...
# Runs PREPARE (untimed) then COMMAND, RUNS times; keeps the median elapsed seconds and the
# largest peak RSS (kB). The output of the last run stays in $W/out.txt.
measure() {
  local name=$1 prep=$2; shift 3
  local times=() peak=0 t m
  for ((i = 0; i < RUNS; i++)); do
    eval "$prep"
    if ! /usr/bin/time -f "%e %M" -o "$W/time.txt" "$@" >"$W/out.txt" 2>"$W/err.txt"; then
      cat "$W/err.txt" "$W/out.txt" >&2
      # A figure allowed to fail (MAY_FAIL=1) is reported with its message instead.
      [ "${MAY_FAIL:-0}" = 1 ] || exit 1
      SECS[$name]=failed RSS[$name]=0
      FAILED[$name]=$(grep -m1 . "$W/err.txt" | cut -c1-160)
      echo "  $name: FAILED (${FAILED[$name]})"
      return 0
    fi
    read -r t m < <(tail -n 1 "$W/time.txt")
    times+=("$t")
    ((m > peak)) && peak=$m
  done
  SECS[$name]=$(printf '%s\n' "${times[@]}" | sort -n | sed -n "$(((RUNS + 1) / 2))p")
  RSS[$name]=$peak
  echo "  $name: ${SECS[$name]} s (median of $RUNS: ${times[*]}), peak RSS $((peak / 1024)) MB"
}

bench_size() {
N=$1
rm -rf "$W/demo"
export STOKTRANSFER_PASSWORD=1234
LOGIN=(--server "$W/demo" --user torvela)
declare -A SECS RSS

echo "Writing the demo back-office with $N cards x 10 price rows ..."
"$CLI" demo "$W/demo" --cards "$N" --prices 10 >/dev/null
# Every copy is taken from a checkpointed file, so no -wal file is needed beside it.
sqlite3 "$W/demo/FIRMA02.sqlite" "PRAGMA wal_checkpoint(TRUNCATE);" >/dev/null
cp "$W/demo/FIRMA02.sqlite" "$W/target.sqlite"

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

# --- SQL Server ---------------------------------------------------------------------------
# The same commands over the network protocol. Floors run on the server through isql in the
# same run: the list statement itself, a read of every card and price row, and one INSERT ...
# SELECT of every card and price row from the source into an empty copy of the target's
# tables, in one transaction. Round trips are the statements the database layer counted.
MSSQL_SIZES=(${MSSQL_SIZES-20000})

# isql_db DATABASE: runs the statements of standard input there, one a line.
isql_db() { isql -b -d'|' -k "${ODBC}Database=$1;"; }
# isql_file DATABASE FILE: the same, as one command to time.
isql_file() { isql -b -d'|' -k "${ODBC}Database=$1;" <"$2" >/dev/null; }
export -f isql_file

bench_mssql() {
N=$1
declare -A SECS RSS FAILED
local RUNS=${MSSQL_RUNS:-$RUNS}
LOGIN=(--server "$SRV" --user torvela)
echo "Writing the demo back-office with $N cards x 10 price rows onto $SRV (a few minutes) ..."
STOKTRANSFER_PASSWORD=$ADMIN_PW "$CLI" demo "$SRV" --user "$ADMIN" --force --cards "$N" --prices 10 >/dev/null
export STOKTRANSFER_PASSWORD=1234
# The target as the demo wrote it is kept in a database of its own and put back from it before
# every import. The copy floor writes into company 03 emptied of cards and prices: the same
# tables as the target's (tables that SELECT INTO makes, the test server lets no one empty).
cols() { isql_db FIRMA02 <<<"SELECT name FROM sys.columns WHERE object_id=OBJECT_ID('$1') $2 ORDER BY column_id" | paste -sd, -; }
local kart_cols fiyat_cols tanim_cols kart_data fiyat_data
kart_cols=$(cols STOKKART "")
fiyat_cols=$(cols STOKFIYAT "")
tanim_cols=$(cols FIYATTANIM "")
kart_data=$(cols STOKKART "AND is_identity=0")
fiyat_data=$(cols STOKFIYAT "AND is_identity=0")
isql_db master >/dev/null <<SQL_END
IF DB_ID('STOKBENCH') IS NOT NULL DROP DATABASE STOKBENCH
CREATE DATABASE STOKBENCH
SQL_END
isql_db STOKBENCH >/dev/null <<SQL_END
SELECT * INTO HEDEF_STOKKART FROM FIRMA02.dbo.STOKKART
SELECT * INTO HEDEF_STOKFIYAT FROM FIRMA02.dbo.STOKFIYAT
SELECT * INTO HEDEF_FIYATTANIM FROM FIRMA02.dbo.FIYATTANIM
SQL_END
cat >"$W/restore.sql" <<SQL_END
DELETE FROM STOKFIYAT
DELETE FROM STOKKART
DELETE FROM FIYATTANIM
SET IDENTITY_INSERT STOKKART ON
INSERT INTO STOKKART ($kart_cols) SELECT $kart_cols FROM STOKBENCH.dbo.HEDEF_STOKKART
SET IDENTITY_INSERT STOKKART OFF
SET IDENTITY_INSERT STOKFIYAT ON
INSERT INTO STOKFIYAT ($fiyat_cols) SELECT $fiyat_cols FROM STOKBENCH.dbo.HEDEF_STOKFIYAT
SET IDENTITY_INSERT STOKFIYAT OFF
INSERT INTO FIYATTANIM ($tanim_cols) SELECT $tanim_cols FROM STOKBENCH.dbo.HEDEF_FIYATTANIM
SQL_END
local fresh_target='isql_file FIRMA02 "$W/restore.sql"'
# isql reports a failed statement and still ends with 0: the copies are checked by their rows.
rows() { isql_db "$1" <<<"SELECT COUNT(*) FROM $2" | tr -d ' '; }
local target_rows
target_rows=$(rows FIRMA02 STOKFIYAT)
eval "$fresh_target"
[ "$(rows FIRMA02 STOKFIYAT)" = "$target_rows" ] || { echo "putting the target back failed" >&2; exit 1; }

echo "Our commands (SQL Server):"
measure list ":" -- "$CLI" list "${LOGIN[@]}" --company 01
local list_sql listed
list_sql=$(head -n 1 "$W/out.txt")
listed=$(tail -n 1 "$W/out.txt")
measure export "rm -f \"$W/file.txt\"" -- "$CLI" export "${LOGIN[@]}" --company 01 "$W/file.txt"
measure import "$fresh_target" -- "$CLI" import "${LOGIN[@]}" --company 02 --stats "$W/file.txt"
cp "$W/out.txt" "$W/import-summary.txt"
MAY_FAIL=1 measure dryrun "$fresh_target" -- "$CLI" import "${LOGIN[@]}" --company 02 --dry-run "$W/file.txt"
eval "$fresh_target"

echo "Floors (isql on the same server):"
echo "$list_sql" >"$W/floor_list.sql"
measure floor_list ":" -- bash -c 'isql_file FIRMA01 "$0"' "$W/floor_list.sql"
printf 'SELECT * FROM STOKKART\nSELECT * FROM STOKFIYAT\n' >"$W/floor_read.sql"
measure floor_read ":" -- bash -c 'isql_file FIRMA01 "$0"' "$W/floor_read.sql"
cat >"$W/floor_copy.sql" <<SQL_END
BEGIN TRANSACTION
INSERT INTO STOKKART ($kart_data) SELECT $kart_data FROM FIRMA01.dbo.STOKKART
INSERT INTO STOKFIYAT ($fiyat_data) SELECT $fiyat_data FROM FIRMA01.dbo.STOKFIYAT
COMMIT
SQL_END
printf 'DELETE FROM STOKFIYAT\nDELETE FROM STOKKART\n' >"$W/empty_copy.sql"
measure floor_copy 'isql_file FIRMA03 "$W/empty_copy.sql"' -- bash -c 'isql_file FIRMA03 "$0"' "$W/floor_copy.sql"
# isql reports a failed statement and still ends with 0: the copy is checked by its rows.
[ "$(rows FIRMA03 STOKFIYAT)" = "$(rows FIRMA01 STOKFIYAT)" ] || { echo "the copy floor failed" >&2; exit 1; }
isql_db master <<<"DROP DATABASE STOKBENCH" >/dev/null

local r_list r_export r_import r_dry
r_list=$(ratio "${SECS[list]}" "${SECS[floor_list]}")
r_export=$(ratio "${SECS[export]}" "${SECS[floor_read]}")
r_import=$(ratio "${SECS[import]}" "${SECS[floor_copy]}")
r_dry="-"
[ "${SECS[dryrun]}" = failed ] || r_dry=$(ratio "${SECS[dryrun]}" "${SECS[floor_copy]}")
# Round trips per card from the import's statement counts: average and largest.
trips() { grep -F "Komut ($1 kart)" "$W/import-summary.txt" | sed -E 's/.*ortalama ([0-9.]+), en çok ([0-9]+).*/\1 \2/'; }
local c_avg c_max g_avg g_max u_avg u_max
read -r c_avg c_max < <(trips "oluşturulan")
read -r g_avg g_max < <(trips "güncellenen")
read -r u_avg u_max < <(trips "değişmeyen")
{
  echo
  echo "## SQL Server: N = $N cards x 10 price rows"
  echo
  echo "Server: $SERVER_DESC. Floors measured with isql (FreeTDS) on the same server in the same run;"
  echo "each figure is the median of $RUNS run(s)."
  echo
  echo "| command | seconds | floor (isql) | floor seconds | ratio | limit | within | peak RSS |"
  echo "|---|---|---|---|---|---|---|---|"
  echo "| list (all cards) | ${SECS[list]} | the list statement itself | ${SECS[floor_list]} | $r_list | 3 | $(verdict "$r_list" 3) | $(mb "${RSS[list]}") |"
  echo "| export (all cards, all levels) | ${SECS[export]} | read every card and price row | ${SECS[floor_read]} | $r_export | 3 | $(verdict "$r_export" 3) | $(mb "${RSS[export]}") |"
  echo "| import into the target | ${SECS[import]} | INSERT ... SELECT of every card and price row, one transaction | ${SECS[floor_copy]} | $r_import | 10 | $(verdict "$r_import" 10) | $(mb "${RSS[import]}") |"
  echo "| import --dry-run | ${SECS[dryrun]} | (same) | ${SECS[floor_copy]} | $r_dry | - | - | $(mb "${RSS[dryrun]}") |"
  if [ -n "${FAILED[dryrun]:-}" ]; then
    echo
    echo "The dry run (the whole import in one transaction, rolled back) failed: \`${FAILED[dryrun]}\`."
    echo "That is the test server's engine running out of its lock memory inside one transaction of this"
    echo "size (a difference of the test server); nothing was written, as the message says."
  fi
  echo
  echo "| round trips per card (import) | average | largest | limit | within |"
  echo "|---|---|---|---|---|"
  echo "| created | $c_avg | $c_max | 6 | $(verdict "$c_max" 6) |"
  echo "| changed | $g_avg | $g_max | 6 | $(verdict "$g_max" 6) |"
  echo "| unchanged | $u_avg | $u_max | 3 | $(verdict "$u_max" 3) |"
  echo
  echo "$listed"
  echo
  echo "Import summary with the statements the database layer counted (\`import --stats\`):"
  echo
  echo '```'
  cat "$W/import-summary.txt"
  echo '```'
} >>"$REPORT"
}

if [ ${#MSSQL_SIZES[@]} -gt 0 ]; then
  SRV=""
  if [ -n "${MSSQL:-}" ]; then
    SRV=${MSSQL%%;*} rest=${MSSQL#*;}
    ADMIN=${rest%%;*} ADMIN_PW=${rest#*;}
    SERVER_DESC="$SRV"
  elif [ -f ../shared/tsql-server/start.sh ]; then
    TSQL_STARTED=${BENCH_TSQL_PORT:-14339}
    eval "$(TSQL_PORT=$TSQL_STARTED bash ../shared/tsql-server/start.sh)"
    SRV="$TSQL_HOST,$TSQL_PORT" ADMIN=$TSQL_USER ADMIN_PW=$TSQL_PASSWORD
    SERVER_DESC="the T-SQL test server of ../shared/tsql-server (loopback, fsync off)"
  fi
  if [ -z "$SRV" ]; then
    echo "SQL Server figures SKIPPED: MSSQL is not set and there is no ../shared/tsql-server"
    printf '\nSQL Server figures skipped: no server (MSSQL) and no ../shared/tsql-server.\n' >>"$REPORT"
  else
    host=${SRV%%,*} port=1433
    [ "$host" = "$SRV" ] || port=${SRV##*,}
    ODBC="Driver=FreeTDS;Server=$host;Port=$port;UID=$ADMIN;PWD=$ADMIN_PW;ClientCharset=UTF-8;TDS_Version=7.4;"
    export ODBC
    # The test server refuses a login's CHECK_POLICY unless told to let it pass.
    isql_db master <<<"IF @@VERSION LIKE 'Babelfish%' EXEC sp_babelfish_configure 'escape_hatch_login_misc_options', 'ignore', 'server'" >/dev/null
    for n in "${MSSQL_SIZES[@]}"; do
      bench_mssql "$n"
    done
  fi
fi
cp "$REPORT" "$OUT"
cat "$OUT"
