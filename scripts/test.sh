#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: the full
# build (headless, offscreen Qt), then the plain C++ layers again under
# AddressSanitizer and UndefinedBehaviorSanitizer with clang, which also replays
# the fuzzers' seed corpora.
set -euo pipefail
cd "$(dirname "$0")/.."
export QT_QPA_PLATFORM=offscreen
bash scripts/install-deps.sh

bash scripts/build.sh
ctest --test-dir build --output-on-failure -j2

cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DVEK_GUI=OFF -DVEK_BENCH=OFF -DVEK_SANITIZE=ON -DVEK_FUZZ=ON >/dev/null
cmake --build build-asan
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build-asan --output-on-failure -j2
