# Shared by run-fuzz and explore (sourced, not run): the clang build of the fuzz targets and the
# list of targets it declares. Sets root, build and corpora.

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
build="$root/build-fuzz"
corpora="$root/tests/fuzz/corpus"

# Configures build-fuzz (clang, libFuzzer, the Qt pictures library included) and builds every
# fuzz target; JOBS sets the build's parallelism.
fuzz_build() {
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_CXX_COMPILER=clang++ -DINKRELAY_FUZZ=ON -DINKRELAY_BUILD_BENCH=OFF >/dev/null
    ninja -C "$build" -j "${JOBS:-1}" inkrelay_fuzz_targets
}

# Prints "name budget-MB runs" for each target asked for (all when none is), as the build lists
# them; an unknown name is an error.
fuzz_targets() {
    local list="$build/fuzz-targets.txt" name
    if [ $# -eq 0 ]; then
        cat "$list"
        return
    fi
    for name in "$@"; do
        if ! grep "^$name " "$list"; then
            echo "no fuzz target named $name; there are: $(cut -d' ' -f1 "$list" | tr '\n' ' ')" >&2
            return 2
        fi
    done
}

# A fresh scratch copy of a target's corpus in dir, without its notes: libFuzzer writes the inputs
# it finds into the folder it is given, and the repository's copy must not change.
fuzz_scratch_corpus() {
    local name="$1" dir="$2"
    rm -rf "$dir"
    mkdir -p "$dir"
    find "$corpora/$name" -maxdepth 1 -type f ! -name NOTES -exec cp {} "$dir/" \;
}

# Runs a command with the sanitizer's quarantine of freed blocks kept small: otherwise up to
# 256 MB of freed memory counts toward -rss_limit_mb, and the budget would measure the sanitizer.
fuzz_env() {
    ASAN_OPTIONS="quarantine_size_mb=16${ASAN_OPTIONS:+:$ASAN_OPTIONS}" "$@"
}
