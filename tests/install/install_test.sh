#!/usr/bin/env bash
# Installs the build into a temporary prefix and uses the installed copy as an outside program
# would: examples/hello built through find_package and through pkg-config (lumivex_mouse), the
# fern through pkg-config lumivex, and two programs that share a folder built from their own
# folders. Each program built is run headless for a moment, and an installed program is started
# with arguments, which it ignores.
#
# Environment (set by tests/install/CMakeLists.txt): SOURCE_DIR, BUILD_DIR, INSTALL_LIBDIR,
# CXX, CXX_FLAGS (the flags the library was built with, e.g. sanitizers), GENERATOR.
set -euo pipefail

work=$(mktemp -d "${TMPDIR:-/tmp}/lumivex-install.XXXXXX")
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix
step() { echo "== $*"; }
fail() { echo "FAILED: $*" >&2; exit 1; }

# run_headless SCRIPT PROGRAM [ARGUMENT...]: runs the program headless with a script that ends
# it, and checks that it ended well.
run_headless() {
  printf '%b' "$1" > "$work/script"
  shift
  LUMIVEX_BACKEND=headless LUMIVEX_SCRIPT="$work/script" timeout 60 "$@" </dev/null ||
    fail "$* ended with status $?"
}
until_idle='wait idle\nkey Escape\n'
hello_script='wait opens 1\nmouse 100 100\nwait shows 3\nshot '$work'/hello.png\nkey Escape\n'

# build_with_cmake SOURCE BUILD: configures and builds a CMake project against the prefix.
build_with_cmake() {
  if ! { cmake -S "$1" -B "$2" -G "$GENERATOR" -DCMAKE_PREFIX_PATH="$prefix" \
           -DCMAKE_CXX_COMPILER="$CXX" -DCMAKE_CXX_FLAGS="$CXX_FLAGS" &&
         cmake --build "$2"; } >"$2.log" 2>&1; then
    cat "$2.log"
    fail "building $1"
  fi
}

step "cmake --install into $prefix"
cmake --install "$BUILD_DIR" --prefix "$prefix" >/dev/null
for file in lib/liblumivex.a lib/liblumivex_mouse.a include/lumivex/lumivex.h \
            include/lumivex/mouse.h include/lumivex/numeric.h include/lumivex/random.h \
            lib/cmake/Lumivex/LumivexConfig.cmake lib/pkgconfig/lumivex.pc \
            lib/pkgconfig/lumivex_mouse.pc; do
  file=${file/#lib\//$INSTALL_LIBDIR/}
  [ -f "$prefix/$file" ] || fail "$file was not installed"
done
for program in "$BUILD_DIR"/bin/*; do
  [ -x "$prefix/bin/$(basename "$program")" ] || fail "bin/$(basename "$program") was not installed"
done

step "an installed program started with arguments ignores them"
run_headless "$until_idle" "$prefix/bin/fern" --help -x 42

step "find_package(Lumivex): examples/hello"
build_with_cmake "$SOURCE_DIR/examples/hello" "$work/hello-cmake"
run_headless "$hello_script" "$work/hello-cmake/hello"
[ -s "$work/hello.png" ] || fail "hello saved no picture"

step "pkg-config lumivex_mouse: examples/hello; pkg-config lumivex: the fern"
export PKG_CONFIG_PATH=$prefix/$INSTALL_LIBDIR/pkgconfig
# shellcheck disable=SC2046,SC2086  # the flags are meant to split into words
"$CXX" -std=c++20 $CXX_FLAGS "$SOURCE_DIR/examples/hello/hello.cc" -o "$work/hello-pc" \
  $(pkg-config --cflags --libs lumivex_mouse)
run_headless "$hello_script" "$work/hello-pc"
# shellcheck disable=SC2046,SC2086
"$CXX" -std=c++20 $CXX_FLAGS "$SOURCE_DIR/programs/fern/fern.cc" -o "$work/fern-pc" \
  $(pkg-config --cflags --libs lumivex)
run_headless "$until_idle" "$work/fern-pc"

# Each finds the folder it shares with another program (trees/, noise/) beside its own.
for program in blossom_trees perlin_textures; do
  step "programs/$program on its own"
  build_with_cmake "$SOURCE_DIR/programs/$program" "$work/$program"
  run_headless 'wait opens 1\nwait ms 200\nkey Escape\n' "$work/$program/$program"
done
echo "install test passed"
