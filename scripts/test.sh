#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite. Every test that touches a
# database runs twice: on SQLite, and on SQL Server (the tests named *_mssql), where the server
# comes from, in this order:
#  - STOKTRANSFER_TEST_MSSQL="host,port;user;password" (an administrator login) when set;
#    STOKTRANSFER_TEST_MSSQL_2, _3, ... name more servers the test programs share out, and
#    STOKTRANSFER_TEST_MSSQL_LATIN1 one of collation SQL_Latin1_General_CP1_CI_AS;
#  - else T-SQL test servers started from ../shared/tsql-server (one per core and one of the
#    other collation, on the ports from STOKTRANSFER_TEST_PORT, default 14330, upwards),
#    stopped again when the tests end, also when they fail;
#  - else none: the SQL Server tests are reported as skipped.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh

tsql=$(cd .. && pwd)/shared/tsql-server
baslatilan=()
durdur() {
  for p in "${baslatilan[@]}"; do
    TSQL_PORT=$p bash "$tsql/stop.sh" || true
  done
}
trap durdur EXIT

# Starts a test server on port $1 (collation $2) and prints "host,port;user;password".
sunucu() {
  local ayar
  ayar=$(TSQL_PORT=$1 TSQL_COLLATION=$2 bash "$tsql/start.sh") || return 1
  eval "$ayar"
  echo "$TSQL_HOST,$TSQL_PORT;$TSQL_USER;$TSQL_PASSWORD"
}

if [ -n "${STOKTRANSFER_TEST_MSSQL:-}" ]; then
  echo "SQL Server tests on ${STOKTRANSFER_TEST_MSSQL%%;*}"
  [ -n "${STOKTRANSFER_TEST_MSSQL_LATIN1:-}" ] ||
    echo "SQL Server tests of the SQL_Latin1_General_CP1_CI_AS collation SKIPPED: STOKTRANSFER_TEST_MSSQL_LATIN1 is not set"
elif [ -f "$tsql/start.sh" ]; then
  port=${STOKTRANSFER_TEST_PORT:-14330}
  sayi=${STOKTRANSFER_TEST_SERVERS:-$(nproc)}
  for ((i = 0; i < sayi; i++)); do
    ad=STOKTRANSFER_TEST_MSSQL
    [ "$i" -eq 0 ] || ad=STOKTRANSFER_TEST_MSSQL_$((i + 1))
    baslatilan+=("$((port + i))")
    deger=$(sunucu "$((port + i))" Turkish_CI_AS)
    export "$ad=$deger"
  done
  baslatilan+=("$((port + sayi))")
  STOKTRANSFER_TEST_MSSQL_LATIN1=$(sunucu "$((port + sayi))" SQL_Latin1_General_CP1_CI_AS)
  export STOKTRANSFER_TEST_MSSQL_LATIN1
  echo "SQL Server tests on $sayi T-SQL test server(s) from ../shared/tsql-server, ports $port-$((port + sayi))"
else
  echo "SQL Server tests SKIPPED: no ../shared/tsql-server and STOKTRANSFER_TEST_MSSQL is not set"
fi

(cd build && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)")
