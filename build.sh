#!/usr/bin/env bash
# Sets the project up on Debian 12 and builds it.
#   ./build.sh test    install what is missing, build, run every test (also sanitized),
#                      then fuzz the file parsers for a bounded time
#   ./build.sh run     install what is missing, build, start the game
#   ./build.sh package install what is missing, build, make the Debian package in
#                      build/package and check what it installs
#   ./build.sh bench   build and run the benchmarks
set -euo pipefail
cd "$(dirname "$0")"

# The Debian packages a command needs, from the one table of what the build, the tests and
# the package checks call (tools/needs.tsv): its rows for "run" (every command builds the
# game) and those for the command itself.
NEEDS_TABLE=tools/needs.tsv
packages_for() {
  local kind name package needed_by
  while read -r kind name package needed_by; do
    case "$kind" in '' | \#*) continue ;; esac
    case ",$needed_by," in *,run,* | *,"$1",*) echo "$package" ;; esac
  done <"$NEEDS_TABLE" | sort -u
}

BUILD_DIR=build
PACKAGE_DIR=$BUILD_DIR/package
SANITIZE_DIR=build-sanitize
FUZZ_DIR=build-fuzz
FUZZ_SECONDS=${FUZZ_SECONDS:-20}
FUZZ_TARGETS=(hiscore_file:1300 settings_file:64)  # target:longest input worth trying
JOBS=$(nproc 2>/dev/null || echo 2)

say() { printf '==> %s\n' "$*"; }

# Installs the packages the command ($1) needs that are not there yet.
install_missing() {
  local missing=() p
  for p in $(packages_for "$1"); do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0

  local sudo=()
  if [ "$(id -u)" -ne 0 ]; then
    if command -v sudo >/dev/null 2>&1; then
      sudo=(sudo)
    else
      echo "error: these packages are missing: ${missing[*]}" >&2
      echo "Install them as root (apt-get install ${missing[*]}), or install sudo, then run again." >&2
      exit 1
    fi
  fi
  say "installing ${missing[*]}"
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -q
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
}

# Configures $BUILD_DIR with the options given and builds the targets given (all when none).
# Every command shares the one build directory: what `run` built, `test` reuses.
configure_and_build() {
  local options=() targets
  while [ $# -gt 0 ] && [ "$1" != -- ]; do options+=("$1"); shift; done
  [ $# -gt 0 ] && shift
  targets=("$@")
  say "building in $BUILD_DIR"
  cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${options[@]}" >/dev/null
  if [ ${#targets[@]} -eq 0 ]; then
    cmake --build "$BUILD_DIR" -j "$JOBS"
  else
    cmake --build "$BUILD_DIR" -j "$JOBS" --target "${targets[@]}"
  fi
}

# The game alone: no tests, no benchmarks, nothing they need installed.
GAME_ONLY=(-DZONKY_TESTS=OFF -DZONKY_BENCHMARKS=OFF)
EVERYTHING=(-DZONKY_TESTS=ON -DZONKY_BENCHMARKS=ON)

# The engine, the records and the tools with their tests again with clang, AddressSanitizer and UndefinedBehaviorSanitizer.
build_sanitized() {
  say "building the engine tests with sanitizers in $SANITIZE_DIR"
  cmake -S . -B "$SANITIZE_DIR" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_CXX_COMPILER=clang++ -DZONKY_SANITIZE=ON -DZONKY_BENCHMARKS=OFF -DZONKY_GUI=OFF >/dev/null
  cmake --build "$SANITIZE_DIR" -j "$JOBS"
}

run_tests() {
  say "running the tests"
  ctest --test-dir "$BUILD_DIR" --output-on-failure -j "$JOBS" -LE e2e
  # The real windows under Xvfb run one at a time, so that no other test loads the machine
  # while they wait on windows.
  say "running the end-to-end tests"
  ctest --test-dir "$BUILD_DIR" --output-on-failure -L e2e
  say "running the sanitized engine tests"
  ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir "$SANITIZE_DIR" --output-on-failure -j "$JOBS" -L engine
}

# The parsers of the two files under libFuzzer (clang only), FUZZ_SECONDS each. Inputs it
# finds go to $FUZZ_DIR/corpus, never into the committed seeds; an input that breaks a
# target is saved in $FUZZ_DIR/artifacts and fails the run: add it to
# tests/fuzz/corpus/<target>/ as a regression case once fixed.
run_fuzzers() {
  if ! command -v clang++ >/dev/null 2>&1; then
    say "clang++ not found: skipping the fuzzers"
    return 0
  fi
  say "building the fuzzers in $FUZZ_DIR"
  cmake -S . -B "$FUZZ_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER=clang++ -DZONKY_FUZZ=ON -DZONKY_BENCHMARKS=OFF -DZONKY_GUI=OFF >/dev/null
  local targets=() entry t max_len
  for entry in "${FUZZ_TARGETS[@]}"; do targets+=("${entry%%:*}_fuzz"); done
  cmake --build "$FUZZ_DIR" -j "$JOBS" --target "${targets[@]}"
  mkdir -p "$FUZZ_DIR/artifacts"
  for entry in "${FUZZ_TARGETS[@]}"; do
    t=${entry%%:*}
    max_len=${entry##*:}
    say "fuzzing $t for ${FUZZ_SECONDS}s"
    mkdir -p "$FUZZ_DIR/corpus/$t"
    local log="$FUZZ_DIR/$t.log"
    # A small quarantine keeps the memory of a long run low on a shared machine.
    if ! ASAN_OPTIONS=detect_leaks=1:quarantine_size_mb=32 UBSAN_OPTIONS=print_stacktrace=1 \
      "$FUZZ_DIR/tests/fuzz/${t}_fuzz" -max_total_time="$FUZZ_SECONDS" -max_len="$max_len" \
      -timeout=10 -rss_limit_mb=1024 -print_final_stats=1 \
      -artifact_prefix="$FUZZ_DIR/artifacts/$t-" \
      "$FUZZ_DIR/corpus/$t" "tests/fuzz/corpus/$t" >"$log" 2>&1; then
      tail -n 40 "$log" >&2
      echo "error: the $t fuzzer found a failing input (see $FUZZ_DIR/artifacts)" >&2
      return 1
    fi
    grep -E '^stat::number_of_executed_units|^Done' "$log" || true
  done
}

# The Debian package, made by CPack from the build, then unpacked into a scratch root and
# checked: its files, both validators, the launcher, and dependencies with no -dev package.
make_package() {
  say "making the Debian package in $PACKAGE_DIR"
  rm -rf "$PACKAGE_DIR"
  mkdir -p "$PACKAGE_DIR"
  if ! cpack --config "$BUILD_DIR/CPackConfig.cmake" -B "$PACKAGE_DIR" >"$PACKAGE_DIR/cpack.log" 2>&1; then
    cat "$PACKAGE_DIR/cpack.log" >&2
    exit 1
  fi
  local debs=("$PACKAGE_DIR"/*.deb)
  if [ ${#debs[@]} -ne 1 ] || [ ! -f "${debs[0]}" ]; then
    echo "error: cpack made no package (see $PACKAGE_DIR/cpack.log)" >&2
    exit 1
  fi
  local deb=${debs[0]} depends root=$PACKAGE_DIR/root
  depends=$(dpkg-deb -f "$deb" Depends)
  if grep -Eq '(^|[ ,|])[a-z0-9.+-]+-dev([ ,(]|$)' <<<"$depends"; then
    echo "error: the package depends on a development package: $depends" >&2
    exit 1
  fi
  # Without it the program cannot start on a Wayland session that has no XWayland.
  if ! grep -Eq '(^|[ ,])qt6-wayland([ ,(]|$)' <<<"$depends"; then
    echo "error: the package does not depend on Qt's Wayland platform: $depends" >&2
    exit 1
  fi

  say "checking what $(basename "$deb") installs"
  dpkg -x "$deb" "$root"
  local top
  top=$(find "$root" -mindepth 1 -maxdepth 1 -printf '%f ')
  if [ "$top" != "usr " ]; then
    echo "error: the package installs outside /usr: $top" >&2
    exit 1
  fi
  tests/packaging/install_checks.sh tree "$root/usr" /usr
  tests/packaging/install_checks.sh desktop "$root/usr"
  tests/packaging/install_checks.sh appstream "$root/usr"
  tests/packaging/install_checks.sh launcher "$root/usr"

  say "made $deb"
  dpkg-deb -f "$deb" Package Version Architecture Installed-Size Depends
  echo "Size: $(stat -c %s "$deb") bytes"
  dpkg-deb -c "$deb" | awk '{ print $6 }' | grep -v '/$'
}

case "${1:-}" in
  test)
    install_missing test
    configure_and_build "${EVERYTHING[@]}"
    build_sanitized
    run_tests
    run_fuzzers
    ;;
  run)
    install_missing run
    configure_and_build "${GAME_ONLY[@]}" -- zonkymosaro
    if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
      echo "error: no display to open the game's window on (DISPLAY and WAYLAND_DISPLAY are unset)." >&2
      exit 1
    fi
    # The game keeps ZonkyMos.Ini and ZonkyMos.dat in the current directory.
    exec "$BUILD_DIR/shell/zonkymosaro"
    ;;
  package)
    install_missing package
    configure_and_build "${GAME_ONLY[@]}"
    make_package
    ;;
  bench)
    install_missing bench
    configure_and_build -DZONKY_TESTS=OFF -DZONKY_BENCHMARKS=ON
    for b in "$BUILD_DIR"/bench/*_bench; do "$b"; done
    ;;
  *)
    echo "usage: ./build.sh test | run | package | bench" >&2
    exit 2
    ;;
esac
