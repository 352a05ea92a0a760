#!/usr/bin/env bash
# Installs the build into a temporary prefix and builds outside programs against the installed
# copy: examples/hello through find_package and through pkg-config (lumivex_mouse), the fern
# through pkg-config lumivex, and programs from their own folders. Each program built is run
# headless for a moment.
#
# Environment (set by tests/install/CMakeLists.txt): SOURCE_DIR, BUILD_DIR, INSTALL_LIBDIR,
# CXX, CXX_FLAGS (the flags the library was built with, e.g. sanitizers), GENERATOR.
set -euo pipefail

work=$(mktemp -d "${TMPDIR:-/tmp}/lumivex-install.XXXXXX")
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix
step() { echo "== $*"; }
fail() { echo "FAILED: $*" >&2; exit 1; }

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

# Runs a program built here headless with a script ending it, and checks it ended well.
run_headless() {
  local program=$1 script=$2
  printf '%b' "$script" > "$work/script"
  LUMIVEX_BACKEND=headless LUMIVEX_SCRIPT="$work/script" timeout 60 "$program" </dev/null ||
    fail "$program ended with status $?"
}
hello_script='wait opens 1\nmouse 100 100\nwait shows 3\nshot '$work'/hello.png\nkey Escape\n'

# Configures and builds a CMake project against the prefix.
build_with_cmake() {
  local source=$1 build=$2
  if ! { cmake -S "$source" -B "$build" -G "$GENERATOR" -DCMAKE_PREFIX_PATH="$prefix" \
           -DCMAKE_CXX_COMPILER="$CXX" -DCMAKE_CXX_FLAGS="$CXX_FLAGS" &&
         cmake --build "$build"; } >"$build.log" 2>&1; then
    cat "$build.log"
    fail "building $source"
  fi
}

step "find_package(Lumivex): examples/hello"
build_with_cmake "$SOURCE_DIR/examples/hello" "$work/hello-cmake"
run_headless "$work/hello-cmake/hello" "$hello_script"
[ -s "$work/hello.png" ] || fail "hello saved no picture"

step "pkg-config lumivex_mouse: examples/hello; pkg-config lumivex: the fern"
export PKG_CONFIG_PATH=$prefix/$INSTALL_LIBDIR/pkgconfig
# shellcheck disable=SC2046,SC2086  # the flags are meant to split into words
"$CXX" -std=c++20 $CXX_FLAGS "$SOURCE_DIR/examples/hello/hello.cc" -o "$work/hello-pc" \
  $(pkg-config --cflags --libs lumivex_mouse)
run_headless "$work/hello-pc" "$hello_script"
# shellcheck disable=SC2046,SC2086
"$CXX" -std=c++20 $CXX_FLAGS "$SOURCE_DIR/programs/fern/fern.cc" -o "$work/fern-pc" \
  $(pkg-config --cflags --libs lumivex)
run_headless "$work/fern-pc" 'wait idle\nkey Escape\n'

# Programs that share a folder with another (trees/, noise/) find it beside their own.
for program in blossom_trees perlin_textures; do
  [ -d "$SOURCE_DIR/programs/$program" ] || continue
  step "programs/$program on its own"
  build_with_cmake "$SOURCE_DIR/programs/$program" "$work/$program"
  run_headless "$work/$program/$program" 'wait opens 1\nwait ms 200\nkey Escape\n'
done
echo "install test passed"
