#!/usr/bin/env bash
# Installs what is missing, builds, writes the demo back-office when it is missing, and
# starts the program on it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh
demo="$PWD/demo-data"
if [ ! -f "$demo/Defination_DB.sqlite" ]; then
  build/src/stoktransfer-cli demo "$demo"
fi
echo "Demo back-office: $demo  (user torvela, password 1234)"
exec build/src/stoktransfer --server "$demo"
