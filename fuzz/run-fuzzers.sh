#!/usr/bin/env bash
# Builds the fuzz targets with coverage instrumentation and runs each for the
# given number of seconds (default 300), one after the other on one core.
# New inputs go to fuzz/corpus-run/NAME (not kept); crashes to fuzz/crashes/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-300}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(fuzz_qor fuzz_csv fuzz_txt fuzz_wildcard fuzz_sql fuzz_dbase fuzz_import fuzz_layout fuzz_text fuzz_stats)
cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link,address,undefined" \
  -DVEK_GUI=OFF -DVEK_BENCH=OFF -DVEK_FUZZ=ON >/dev/null
cmake --build build-fuzz --target "${targets[@]}"
mkdir -p fuzz/crashes
for t in "${targets[@]}"; do
  seeds=fuzz/corpus/${t#fuzz_}
  work=fuzz/corpus-run/${t#fuzz_}
  mkdir -p "$work"
  echo "== $t for ${seconds}s"
  build-fuzz/fuzz/$t -max_total_time="$seconds" -artifact_prefix=fuzz/crashes/$t- \
    -print_final_stats=1 "$work" "$seeds" 2>&1 | tail -n 12 || echo "!! $t stopped: see fuzz/crashes/"
done
