#!/bin/sh
# Builds the fuzz targets with clang and runs each for the given number of
# seconds (default 30), one after the other, on a working copy of its seed
# corpus in the build tree. Exits 1 when a target reports a crash, a sanitizer
# finding or a hang; the input that did it is kept in fuzz-build/findings/.
# Needs clang++ and libclang-rt-14-dev: scripts/install-deps.sh --tests.
set -eu
cd "$(dirname "$0")/.."
seconds=${1:-30}
build=fuzz-build
jobs=$(nproc 2>/dev/null || echo 2)
targets="verb_file_fuzz scene_file_fuzz scene_verb_files_fuzz config_fuzz saved_game_fuzz command_fuzz world_command_fuzz"

if ! command -v clang++ >/dev/null 2>&1; then
  echo "fuzz.sh: clang++ is missing; run scripts/install-deps.sh --tests" >&2
  exit 1
fi

cmake -S . -B "$build" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DMWK_TESTS=OFF -DMWK_FUZZ=ON >/dev/null
cmake --build "$build" -j"$jobs" --target fuzz_targets

# The dictionary of tokens each target's inputs are made of.
dictionary() {
  case "$1" in
    config_fuzz) echo fuzz/dict/config.dict ;;
    command_fuzz) echo fuzz/dict/command.dict ;;
    world_command_fuzz) echo fuzz/dict/world_command.dict ;;
    *) echo fuzz/dict/game_files.dict ;;
  esac
}

mkdir -p "$build/corpus" "$build/findings" "$build/logs"
failed=""
for target in $targets; do
  corpus="$build/corpus/$target"
  log="$build/logs/$target.log"
  mkdir -p "$corpus"
  cp fuzz/corpus/"$target"/* "$corpus"/
  echo "== $target: ${seconds}s"
  if "$build/fuzz/$target" -max_total_time="$seconds" -timeout=10 \
      -dict="$(dictionary "$target")" -artifact_prefix="$build/findings/$target-" \
      "$corpus" >"$log" 2>&1; then
    grep -E '^#[0-9]+[[:space:]]+DONE' "$log" | tail -1
  else
    echo "$target FAILED; see $log and $build/findings/"
    grep -E 'ERROR|SUMMARY|broken promise' "$log" | head -5
    failed="$failed $target"
  fi
done

if [ -n "$failed" ]; then
  echo "fuzz.sh: findings in:$failed" >&2
  exit 1
fi
