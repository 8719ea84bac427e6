#!/bin/sh
# Fuzzes the import for SECONDS (default 600) on one core, starting from the saved corpus;
# new inputs go to fuzz-work/, findings to fuzz-findings/. Afterwards, to refresh the saved
# corpus with a minimal set:
#   build-fuzz/iceaktarim_fuzz -merge=1 -max_len=16384 tests/fuzz-corpus-new tests/fuzz-corpus fuzz-work
set -e
cd "$(dirname "$0")/.."
[ -x build-fuzz/iceaktarim_fuzz ] || fuzz/build.sh
mkdir -p fuzz-work fuzz-findings
exec build-fuzz/iceaktarim_fuzz -jobs=1 -workers=1 -max_total_time="${1:-600}" -max_len=16384 -timeout=10 \
  -rss_limit_mb=2048 -print_final_stats=1 -dict=fuzz/aktarim.dict -artifact_prefix=fuzz-findings/ \
  fuzz-work tests/fuzz-corpus
