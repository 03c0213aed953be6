#!/bin/bash
# Runs one libFuzzer target briefly: first over every kept crasher and seed
# (each must pass), then fuzzing from the seeds for a few seconds.
# Usage: run-fuzzer.sh FUZZER SEED_DIR WORK_DIR SECONDS [MAX_LEN]
set -euo pipefail
fuzzer=$1 seeds=$2 work=$3 seconds=${4:-5} max_len=${5:-}
name=$(basename "$fuzzer")
crashers=$(dirname "$seeds")/../crashers/$name
mkdir -p "$work/corpus"
inputs=("$seeds")
[ -d "$crashers" ] && inputs+=("$crashers")
# Replay the seeds and crashers one by one as regression inputs.
"$fuzzer" -runs=0 "${inputs[@]}" >"$work/replay.log" 2>&1 || { cat "$work/replay.log"; exit 1; }
# Then a short fuzzing run with a fixed seed, new inputs kept outside git.
"$fuzzer" -seed=1 -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 ${max_len:+-max_len=$max_len} \
  -artifact_prefix="$work/" "$work/corpus" "${inputs[@]}" >"$work/fuzz.log" 2>&1 || {
  tail -n 40 "$work/fuzz.log"; exit 1; }
tail -n 1 "$work/fuzz.log"
