#!/usr/bin/env bash
# The speed table in one run: builds the benchmarks (Release, in build-bench), runs every row
# beside its reference in the same run and prints the ratios with their goals.
# Usage: bench/table.sh [REPS]   (JOBS, BUILD and REPS may be set in the environment)
# `make bench-table` runs it.
set -euo pipefail
src=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD:-$src/build-bench}
reps=${1:-${REPS:-3}}
# A new build folder is Release; an existing one keeps its build type.
if [ -f "$build/CMakeCache.txt" ]; then
    cmake -S "$src" -B "$build" -DOV_BENCH=ON >/dev/null
else
    cmake -S "$src" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DOV_BENCH=ON >/dev/null
fi
cmake --build "$build" -j "${JOBS:-2}" --target ovbench ovbench_files ovbench_strokes \
    ovbench_filters ovbench_start >/dev/null
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
run() { # name binary filter [runner...]
    local name=$1 bin=$2 filter=$3
    shift 3
    "$@" "$build/$bin" --benchmark_filter="$filter" --benchmark_repetitions="$reps" \
        --benchmark_out="$out/$name.json" --benchmark_out_format=json >/dev/null 2>"$out/$name.err" ||
        { echo "$bin failed:" >&2; cat "$out/$name.err" >&2; }
}
export QT_QPA_PLATFORM=offscreen
run raster ovbench 'BM_Memcpy|BM_CopyKeyed'
run files ovbench_files 'LoadImageFile|QImageReader|MemoryAfterOpen|SaveImageFile/jpg|QImageWriter/jpg'
run strokes ovbench_strokes 'ContinuousStroke'
run filters ovbench_filters 'Convolution|OpenCVFilter2D'
# Whole program starts want a display: a virtual one when xvfb-run is there.
if command -v xvfb-run >/dev/null; then
    QT_QPA_PLATFORM=xcb run start ovbench_start '.' xvfb-run -a -s '-screen 0 1280x1024x24'
else
    run start ovbench_start '.'
fi
echo "Load average while measuring: $(cut -d' ' -f1-3 /proc/loadavg); $(nproc) cores"
python3 "$src/bench/table.py" "$out"
