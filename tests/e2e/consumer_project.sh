#!/usr/bin/env bash
# The engine as another project meets it, with the README's own CMake and C code: a program in C
# beside the repository that adds it with add_subdirectory (as a subproject it must leave the
# caller's build type alone and build only the library), and the same program finding this
# build's installed engine with find_package. Then the public header as strict C, and the printf
# checks of every formatted text operation under GCC and, when installed, Clang. A cross build
# (TOOLCHAIN_FILE given) skips the add_subdirectory way, which would compile the engine again.
# Usage: consumer_project.sh SOURCE_DIR BUILD_DIR CMAKE C_COMPILER [TOOLCHAIN_FILE]
set -u
source_dir=$(realpath "$1")
build_dir=$(realpath "$2")
cmake=$3
cc=$4
toolchain=()
[ -n "${5:-}" ] && toolchain=(-DCMAKE_TOOLCHAIN_FILE="$(realpath "$5")")
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cd "$scratch" || exit 1
failures=0

fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

# readme_block LANGUAGE PATTERN: the first fenced block of that language in the README holding
# PATTERN, fences removed.
readme_block() {
  awk -v lang="$1" -v pattern="$2" '
    $0 == "```" lang { inside = 1; block = ""; next }
    inside && $0 == "```" { inside = 0; if (index(block, pattern)) { printf "%s", block; exit } next }
    inside { block = block $0 "\n" }' "$source_dir/README.md"
}

# consumer FOLDER PATTERN: a project of the README's CMakeLists block holding PATTERN and its
# frame loop as main.c.
consumer() {
  mkdir -p "$1"
  readme_block cmake "$2" >"$1/CMakeLists.txt"
  readme_block c 'o3DSwapBuffers' >"$1/main.c"
  [ -s "$1/CMakeLists.txt" ] || fail "the README shows no CMake block with $2"
  [ -s "$1/main.c" ] || fail "the README shows no frame loop in C"
  # Copied as written, a loop that never clears leaves trails.
  grep -q 'o3DClearScreen(' "$1/main.c" || fail "the README's frame loop does not clear the screen"
}

cache_value() {
  sed -n "s/^$1:[A-Z]*=//p" "$2/CMakeCache.txt"
}

built_program() {
  [ -f "$1/mygame" ] || [ -f "$1/mygame.exe" ]
}

# ---- add_subdirectory, the repository beside the program, outside its tree --------------------
# It compiles the whole engine again, so the Windows build leaves it to the native one.
if [ ${#toolchain[@]} -eq 0 ]; then
  ln -s "$source_dir" ostrel3d
  consumer mygame 'add_subdirectory('
  if "$cmake" -S mygame -B mygame/build >sub.log 2>&1 &&
    "$cmake" --build mygame/build -j 2 >>sub.log 2>&1; then
    built_program mygame/build || fail "add_subdirectory: no program was built"
  else
    cat sub.log
    fail "add_subdirectory: the README's project does not build"
  fi
  build_type=$(cache_value CMAKE_BUILD_TYPE mygame/build)
  [ -z "$build_type" ] || fail "add_subdirectory: the caller's build type was set to '$build_type'"
  for option in O3D_BUILD_TOOLS O3D_BUILD_EXAMPLES O3D_BUILD_TESTS O3D_BUILD_BENCHMARKS \
    O3D_INSTALL; do
    value=$(cache_value $option mygame/build)
    [ "$value" = OFF ] || fail "add_subdirectory: $option is '$value', not OFF"
  done
  for program in tellurix o3dpack platform_tour images_and_text; do
    [ -z "$(find mygame/build -name "$program")" ] || fail "add_subdirectory: $program was built"
  done
fi

# ---- cmake --install of this build, then find_package ------------------------------------------
if "$cmake" --install "$build_dir" --component engine --prefix "$scratch/prefix" >install.log 2>&1; then
  headers=$(cd prefix && find . -name '*.h' | sort | tr '\n' ' ')
  [ "$headers" = "./include/ostrel3d.h " ] || fail "install: headers are '$headers'"
else
  cat install.log
  fail "install: cmake --install failed"
fi
consumer installed 'find_package(Ostrel3D'
# A cross build searches packages only under its root, so it is given the package folder itself.
if "$cmake" -S installed -B installed/build "${toolchain[@]}" -DCMAKE_PREFIX_PATH="$scratch/prefix" \
  -DOstrel3D_DIR="$scratch/prefix/lib/cmake/Ostrel3D" >found.log 2>&1 &&
  "$cmake" --build installed/build >>found.log 2>&1; then
  built_program installed/build || fail "find_package: no program was built"
  grep -q "$source_dir/engine" installed/build/CMakeFiles/mygame.dir/flags.make &&
    fail "find_package: the program was compiled against the source tree"
else
  cat found.log
  fail "find_package: the README's project does not build against the installed engine"
fi

# ---- The header as C, and the format checks ----------------------------------------------------
# Lines 4 to 7 of wrong.c pass a value the format does not take; right.c mends them.
cat >wrong.c <<'EOF'
#include "ostrel3d.h"
void drawAll(TFont *f)
{
    o3DDrawTextf(f, 0, 0, "%d", "not a number");
    o3DDrawTextShadowf(f, 0, 0, 1, 1, 1, 1, 1, 0, 0, 0, "%s", 42);
    o3DDrawTextOutlinef(f, 0, 0, 1, 1, 1, 1, 0, 0, 0, "%d %d", 1);
    o3DPrintSystemf(f, 0, 0, "%f", 7);
    o3DDrawTextf(f, 0, 0, "%zu %lld", sizeof *f, 1LL); /* C99, MinGW included */
}
EOF
sed -e 's/"not a number"/7/' -e 's/"%s", 42/"%s", "x"/' -e 's/"%d %d", 1/"%d %d", 1, 2/' \
  -e 's/"%f", 7/"%f", 7.0/' wrong.c >right.c

compilers=("$cc")
if [ ${#toolchain[@]} -eq 0 ]; then
  if command -v clang >/dev/null; then compilers+=(clang); else echo "note: no clang to check"; fi
fi
for compiler in "${compilers[@]}"; do
  "$compiler" -std=c99 -Wall -Wextra -Wpedantic -Werror -fsyntax-only -I"$source_dir/engine" \
    right.c >right.log 2>&1 || { cat right.log; fail "$compiler: the header is not clean C99"; }
  "$compiler" -std=c99 -Wformat -fsyntax-only -I"$source_dir/engine" wrong.c >wrong.log 2>&1
  for line in 4 5 6 7; do
    grep -q "^wrong.c:$line:.*-Wformat" wrong.log ||
      fail "$compiler: no format warning for line $line of wrong.c ($(sed -n ${line}p wrong.c))"
  done
  "$compiler" -std=c99 -Werror=format -fsyntax-only -I"$source_dir/engine" wrong.c >/dev/null 2>&1 &&
    fail "$compiler: wrong arguments compile under -Werror=format"
done

if [ $failures -ne 0 ]; then
  echo "$failures check(s) failed"
  exit 1
fi
echo "consumer_project: all checks passed"
