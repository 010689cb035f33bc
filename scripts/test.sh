#!/bin/sh
# Builds everything and runs every test: once optimised, once under
# AddressSanitizer and UndefinedBehaviorSanitizer; then a short fuzz run of
# every fuzz target.
set -eu
cd "$(dirname "$0")/.."
scripts/install-deps.sh --tests
jobs=$(nproc 2>/dev/null || echo 2)

cmake -S . -B build -DCMAKE_BUILD_TYPE=Release
cmake --build build -j"$jobs"
(cd build && ctest --output-on-failure -j"$jobs")

cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DMWK_SANITIZE=ON
cmake --build build-asan -j"$jobs"
(cd build-asan && ctest --output-on-failure -j"$jobs")

scripts/fuzz.sh 20
