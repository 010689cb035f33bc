#!/bin/sh
# Builds the program and the demo game, then plays it in the build tree, where
# a save never touches the repository.
set -eu
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j2 >/dev/null
game="${1:-demo}"
[ -d "build/games/$game" ] || game=starter
cd "build/games/$game"
exec ../../mwk
