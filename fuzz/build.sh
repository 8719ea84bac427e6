#!/bin/sh
# Builds the import fuzzer into build-fuzz/ (clang, libFuzzer, ASan, UBSan).
# Run:  build-fuzz/iceaktarim_fuzz -jobs=1 -max_len=16384 -timeout=10 -dict=fuzz/aktarim.dict \
#         fuzz-work/ tests/fuzz-corpus/
set -e
cd "$(dirname "$0")/.."
cmake -S fuzz -B build-fuzz -DCMAKE_CXX_COMPILER=clang++-14 -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build-fuzz -j2
