#!/usr/bin/env bash
# Runs each libFuzzer harness for a set time on its seeds, keeping what it
# finds in the build folder, then replays the saved corpus once as a
# regression check. The game's own output is closed (-close_fd_mask=3);
# libFuzzer and the sanitizers keep their reports. Usage: run-fuzzers.sh BUILD_DIR SECONDS
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:?usage: run-fuzzers.sh BUILD_DIR SECONDS}" && pwd)
seconds=${2:?usage: run-fuzzers.sh BUILD_DIR SECONDS}

run() {
    local harness=$1 corpus=$2
    shift 2
    local work="$build/fuzz-corpus-$corpus" artifacts="$build/fuzz-artifacts-$corpus/"
    mkdir -p "$work" "$artifacts"
    echo "== fuzz_$harness for ${seconds}s"
    "$build/fuzz_$harness" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2560 \
        -close_fd_mask=3 -print_final_stats=1 -artifact_prefix="$artifacts" "$work" "$@"
    echo "== fuzz_$harness: replaying the saved corpus"
    "$build/fuzz_$harness" -runs=0 -close_fd_mask=3 -artifact_prefix="$artifacts" "$@"
}

run LevelLoad level "$repo/fuzz/corpus/level" "$repo/data/levels"
run Preferences prefs "$repo/fuzz/corpus/prefs"
