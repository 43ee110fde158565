#!/usr/bin/env bash
# A longer fuzzing run than the test suite's: each target for $1 seconds (default 600), adding what it
# finds to fuzz/corpus/. Usage: ./scripts/fuzz.sh [seconds]
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
seconds="${1:-600}"
cd "$top"
cmake --preset fuzz
cmake --build --preset fuzz --parallel "$(nproc)"
for target in conversions rules; do
    "$top/build-fuzz/fuzz/fuzz_$target" -max_total_time="$seconds" -print_final_stats=1 "$top/fuzz/corpus/$target"
done
