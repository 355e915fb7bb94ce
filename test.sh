#!/usr/bin/env bash
# Installs what is missing, builds, then runs every test headless: the release build, the
# same tests under AddressSanitizer + UndefinedBehaviorSanitizer, and each fuzz target for a
# bounded time. Exits non-zero on any failure.
set -euo pipefail
source "$(dirname "$0")/scripts/setup.sh"
install_missing_packages
build_release

export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
status=0
# The release build's end-to-end and package tests spend their minutes waiting on a game in its
# X server, so they run while the sanitizer build compiles; the compilers run at a low priority,
# so that the games get the processor whenever they ask for it.
echo "== end-to-end and package tests (release build), beside the sanitizer build"
e2e_log="$ROOT/build/e2e-tests.log"
ctest --test-dir "$ROOT/build" --output-on-failure -L "e2e|package" > "$e2e_log" 2>&1 &
e2e_tests=$!

echo "== sanitizer build (clang, ASan + UBSan, fuzz targets)"
CC=clang CXX=clang++ cmake -S "$ROOT" -B "$ROOT/build-asan" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DREDHOLLOW_SANITIZE=ON -DREDHOLLOW_FUZZ=ON \
  -DREDHOLLOW_GOLDEN_RESOURCE_DIR="$ROOT/build" >/dev/null
built=0
nice -n 15 cmake --build "$ROOT/build-asan" -j "$(nproc)" || built=$?

if ! wait "$e2e_tests"; then status=1; fi
echo "== end-to-end and package tests (release build)"
cat "$e2e_log"
if ((built != 0)); then
  echo "== the sanitizer build failed after ${SECONDS} s"
  exit 1
fi

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# Reports name their functions only through the symbolizer of the compiler's own LLVM.
export ASAN_SYMBOLIZER_PATH=/usr/lib/llvm-14/bin/llvm-symbolizer
export UBSAN_SYMBOLIZER_PATH="$ASAN_SYMBOLIZER_PATH"
echo "== tests (release build)"
ctest --test-dir "$ROOT/build" --output-on-failure -j "$(nproc)" -LE "e2e|package" || status=1
echo "== tests (sanitizer build)"
ctest --test-dir "$ROOT/build-asan" --output-on-failure -j "$(nproc)" || status=1

# Each target fuzzes for a bounded time, as many at once as there are cores.
FUZZ_SECONDS="${FUZZ_SECONDS:-10}"
echo "== fuzzing, ${FUZZ_SECONDS} s per target"
fuzz_target() {
  local target="$1" name corpus
  name="$(basename "$target" _fuzz)"
  corpus="$(mktemp -d)"
  if ASAN_OPTIONS=detect_leaks=0 "$target" -max_total_time="$FUZZ_SECONDS" -print_final_stats=1 \
       -artifact_prefix="$ROOT/build-asan/fuzz/${name}-" "$corpus" "$ROOT/tests/data/fuzz-seeds/$name" \
       > "$ROOT/build-asan/fuzz/${name}.log" 2>&1; then
    echo "-- $name: $(grep -o 'average_exec_per_sec: *[0-9]*' "$ROOT/build-asan/fuzz/${name}.log" |
                       grep -o '[0-9]*$') runs/s"
  else
    echo "-- $name"
    tail -n 40 "$ROOT/build-asan/fuzz/${name}.log"
    echo "fuzz target $name found a crash; the input is under build-asan/fuzz/"
    touch "$fuzz_failures/$name"
  fi
  rm -rf "$corpus"
}
fuzz_failures="$(mktemp -d)"
for target in "$ROOT"/build-asan/fuzz/*_fuzz; do
  [[ -x "$target" ]] || continue
  while (($(jobs -rp | wc -l) >= $(nproc))); do wait -n || true; done
  fuzz_target "$target" &
done
wait
if [[ -n "$(ls -A "$fuzz_failures")" ]]; then status=1; fi
rm -rf "$fuzz_failures"

if ((status == 0)); then echo "== all tests passed in ${SECONDS} s"; else echo "== FAILURES (see above) after ${SECONDS} s"; fi
exit "$status"
