#!/usr/bin/env bash
# Mutation check: applies each hand-chosen fault of scripts/mutants.txt to a scratch copy of the
# tree, rebuilds it incrementally, runs the fast tests against it and says whether the suite
# caught the fault. Prints one line per mutant and the score.
#
#   bash scripts/mutants.sh [ID...]          all mutants, or only those named
#   MUTANT_TESTS='regex' bash scripts/mutants.sh   which CTest tests run (default: all of them)
#   MUTANT_EXCLUDE='regex'                   which are left out (default: the SQL Server variants
#                                            *_mssql and tst_arkauc_latin1, which need a server
#                                            and run the same checks as their embedded-backend
#                                            twins; and tst_surecdayanikliligi, which takes two
#                                            minutes and guards processes killed or writing at
#                                            once, not the logic)
#   MUTANT_SCRATCH=/some/dir                 keep the scratch copy and its build there: a later
#                                            run only rebuilds what changed since
#   MUTANT_MATRIX=1                          run every test against every mutant and name each test
#                                            that catches it (slower: shows which tests a mutant
#                                            depends on before tests are cut)
#
# Speed: the tests stop at the first failure (one is enough to call a mutant caught); the
# scratch copy is built with light optimisation (-O1: quick to compile, and the tests' timing
# checks hold) and no debug information, with the core as a shared library so that a mutant
# relinks one library instead of every test program.
#
# A mutant is "caught" when a test fails, "MISSED" when every test passes, "no build" when the
# mutated tree does not compile (not counted), "not found" when its text no longer stands
# exactly once in its file (the list needs updating; not counted).
#
# Format of scripts/mutants.txt: blocks of
#   @ ID what the fault is
#   path/of/the/file
#   - original line(s), exactly as in the file (several "- " lines are joined with newlines)
#   + replacement line(s) (no "+ " line: the original text is deleted)
# Lines starting with "#" and blank lines between blocks are ignored.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$PWD
LIST=${MUTANT_LIST:-$ROOT/scripts/mutants.txt}
TESTS=${MUTANT_TESTS:-}
EXCLUDE=${MUTANT_EXCLUDE-_mssql\$|_latin1\$|surecdayanikliligi}
JOBS=${JOBS:-$(nproc)}
WANTED=("$@")

bash scripts/install-deps.sh >/dev/null
if [ -n "${MUTANT_SCRATCH:-}" ]; then
  SCRATCH=$MUTANT_SCRATCH
  mkdir -p "$SCRATCH"
  # The sources are replaced (files deleted from the tree must go too); the build stays. A file
  # whose content changed is touched below: its new text may be older than its last build.
  sums() { (cd "$SCRATCH" && find . -path ./build -prune -o -type f -print0 | xargs -0 -r md5sum | sort); }
  sums >"$SCRATCH/.sums-old" 2>/dev/null || true
  find "$SCRATCH" -mindepth 1 -maxdepth 1 ! -name build ! -name .sums-old -exec rm -rf {} +
else
  SCRATCH=$(mktemp -d /tmp/stokmutant.XXXXXX)
  trap 'rm -rf "$SCRATCH"' EXIT
fi
echo "Scratch copy: $SCRATCH" >&2
# tar keeps the files' times: an unchanged file is not rebuilt in a kept scratch build.
tar -C "$ROOT" --exclude='./build*' --exclude='./.git' --exclude='./demo-data' -cf - . | tar -C "$SCRATCH" -xf -
sed -i 's/add_library(stokcore STATIC/add_library(stokcore SHARED/' "$SCRATCH/src/CMakeLists.txt"
if [ -f "$SCRATCH/.sums-old" ]; then
  sums | comm -13 "$SCRATCH/.sums-old" - | cut -c35- | (cd "$SCRATCH" && xargs -r touch)
  rm -f "$SCRATCH/.sums-old"
fi
generator=()
command -v ninja >/dev/null && [ ! -f "$SCRATCH/build/Makefile" ] && generator=(-G Ninja)
cmake -S "$SCRATCH" -B "$SCRATCH/build" "${generator[@]}" -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG=-O1 \
  -DCMAKE_LINK_DEPENDS_NO_SHARED=ON >/dev/null
# What the tests run: the test programs and the command-line program (not the screens' program
# nor the benchmark).
build_tree() {
  if [ -f "$SCRATCH/build/build.ninja" ]; then
    cmake --build "$SCRATCH/build" -j"$JOBS" --target tests/all stoktransfer-cli
  else
    cmake --build "$SCRATCH/build" -j"$JOBS"
  fi
}
echo "Building the unmutated copy ..." >&2
build_tree >"$SCRATCH/build.log" 2>&1 || { tail -n 30 "$SCRATCH/build.log" >&2; echo "The unmutated tree does not build." >&2; exit 1; }

run_tests() {
  local args=(--output-on-failure -j"$JOBS" --timeout 300 "$@")
  [ -z "${MUTANT_MATRIX:-}" ] && args+=(--stop-on-failure)
  [ -n "$TESTS" ] && args+=(-R "$TESTS")
  [ -n "$EXCLUDE" ] && args+=(-E "$EXCLUDE")
  (cd "$SCRATCH/build" && QT_QPA_PLATFORM=offscreen ctest "${args[@]}" >"$SCRATCH/ctest.log" 2>&1)
}

echo "Checking that the unmutated copy passes ..." >&2
# A GUI test may miss a focus change on a loaded machine: the unmutated tree gets a second try.
if ! run_tests --repeat until-pass:2; then
  tail -n 30 "$SCRATCH/ctest.log" >&2
  echo "The unmutated tree fails its tests: no score." >&2
  exit 1
fi

# Parses the list into parallel arrays.
ids=() descs=() files=() froms=() tos=()
parse() {
  local id="" desc="" file="" from="" to="" have_from=0 have_to=0 line
  flush() {
    if [ -n "$id" ]; then
      ids+=("$id"); descs+=("$desc"); files+=("$file"); froms+=("$from"); tos+=("$to")
    fi
    id="" desc="" file="" from="" to="" have_from=0 have_to=0
  }
  while IFS= read -r line || [ -n "$line" ]; do
    case "$line" in
      "@ "*) flush; line=${line#@ }; id=${line%% *}; desc=${line#* } ;;
      "- "*|"-") line=${line#-}; [ $have_from -eq 1 ] && from+=$'\n'; from+=${line# }; have_from=1 ;;
      "+ "*|"+") line=${line#+}; [ $have_to -eq 1 ] && to+=$'\n'; to+=${line# }; have_to=1 ;;
      "#"*|"") ;;
      *) [ -n "$id" ] && [ -z "$file" ] && file=$line ;;
    esac
  done <"$LIST"
  flush
}
parse

wanted() {
  [ ${#WANTED[@]} -eq 0 ] && return 0
  local w; for w in "${WANTED[@]}"; do [ "$w" = "$1" ] && return 0; done
  return 1
}

caught=0 missed=0 nobuild=0 notfound=0
begun=$SECONDS
missed_list=()
for i in "${!ids[@]}"; do
  wanted "${ids[$i]}" || continue
  target="$SCRATCH/${files[$i]}"
  printf '%-5s ' "${ids[$i]}"
  if [ ! -f "$target" ]; then
    echo "not found  (${files[$i]} missing)  ${descs[$i]}"; notfound=$((notfound + 1)); continue
  fi
  cp "$target" "$SCRATCH/original"
  # Literal replacement of the one occurrence; the count decides whether the mutant applies.
  count=$(FROM="${froms[$i]}" TO="${tos[$i]}" perl -0777 -i -pe '
    BEGIN { $n = 0 }
    $n = () = /\Q$ENV{FROM}\E/g;
    s/\Q$ENV{FROM}\E/$ENV{TO}/ if $n == 1;
    END { print STDERR $n }' "$target" 2>&1 >/dev/null)
  if [ "$count" != "1" ]; then
    cp "$SCRATCH/original" "$target"
    echo "not found  (text stands $count times in ${files[$i]})  ${descs[$i]}"; notfound=$((notfound + 1)); continue
  fi
  start=$SECONDS
  if ! build_tree >"$SCRATCH/build.log" 2>&1; then
    echo "no build   ${descs[$i]}"; nobuild=$((nobuild + 1))
  elif run_tests; then
    echo "MISSED     ${descs[$i]}  ($((SECONDS - start)) s)"; missed=$((missed + 1)); missed_list+=("${ids[$i]}")
  else
    failed=$(grep -E '^\s*[0-9]+ - ' "$SCRATCH/ctest.log" | sed -E 's/^\s*[0-9]+ - ([^ ]+).*/\1/' | paste -sd, -)
    echo "caught     ${descs[$i]}  [$failed] ($((SECONDS - start)) s)"; caught=$((caught + 1))
  fi
  cp "$SCRATCH/original" "$target"
  touch "$target"
done
# Leaves the scratch build matching the tree (only matters when the folder is kept).
build_tree >/dev/null 2>&1 || true

counted=$((caught + missed))
echo
echo "Time: $((SECONDS - begun)) s for the mutants, after the first build."
echo "Caught $caught of $counted mutants ($nobuild did not build, $notfound not found)."
[ $counted -gt 0 ] && awk -v c=$caught -v n=$counted 'BEGIN { printf "Mutation score: %.1f %%\n", 100 * c / n }'
[ ${#missed_list[@]} -gt 0 ] && echo "Missed: ${missed_list[*]}"
exit 0
