# Shared settings for the scripts in this folder (sourced, not run).
# LUMIVEXA_CACHE  per-machine cache outside git (mingw libraries, Wine prefixes)
# LUMIVEXA_JOBS   parallel build jobs (default: number of processors)
LUMIVEXA_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
LUMIVEXA_CACHE=${LUMIVEXA_CACHE:-${HOME:-/tmp}/.cache/lumivexa}
LUMIVEXA_JOBS=${LUMIVEXA_JOBS:-$(nproc)}
export LUMIVEXA_ROOT LUMIVEXA_CACHE LUMIVEXA_JOBS

say() { printf '== %s\n' "$*" >&2; }
die() { printf 'error: %s\n' "$*" >&2; exit 1; }

# Prefix holding the static Windows builds of libjpeg, libpng and libtiff for one architecture.
mingw_deps_prefix() { echo "$LUMIVEXA_CACHE/mingw-deps/$1-w64-mingw32"; }

# Configures one build directory build/NAME (cheap when nothing changed).
# NAME: native (g++), sanitize (clang, ASan+UBSan, fuzzers), win32 (i686), win64 (x86_64).
lumivexa_configure() {
  local name=$1 dir=$LUMIVEXA_ROOT/build/$1 args
  case $name in
    native) args=(-DCMAKE_C_COMPILER=gcc -DCMAKE_CXX_COMPILER=g++) ;;
    sanitize) args=(-DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++
                    -DLUMIVEXA_SANITIZE=ON -DLUMIVEXA_BENCHMARKS=OFF) ;;
    win32) args=(-DCMAKE_TOOLCHAIN_FILE="$LUMIVEXA_ROOT/cmake/toolchain-mingw-i686.cmake"
                 -DLUMIVEXA_DEPS="$(mingw_deps_prefix i686)") ;;
    win64) args=(-DCMAKE_TOOLCHAIN_FILE="$LUMIVEXA_ROOT/cmake/toolchain-mingw-x86_64.cmake"
                 -DLUMIVEXA_DEPS="$(mingw_deps_prefix x86_64)") ;;
    *) echo "unknown build '$name'" >&2; return 1 ;;
  esac
  mkdir -p "$dir"
  cmake -S "$LUMIVEXA_ROOT" -B "$dir" -G Ninja "${args[@]}" >"$dir/configure.log" 2>&1 ||
    { tail -n 40 "$dir/configure.log" >&2; return 1; }
}

# Configures and builds build/NAME: every target, or only the ones given.
lumivexa_build() {
  local name=$1; shift
  say "building $name${*:+ ($*)}"
  lumivexa_configure "$name" || return 1
  cmake --build "$LUMIVEXA_ROOT/build/$name" -j"$LUMIVEXA_JOBS" ${*:+--target "$@"}
}

# True when the configured build/NAME has the target.
lumivexa_has_target() {
  ninja -C "$LUMIVEXA_ROOT/build/$1" -t targets all 2>/dev/null | grep -q "^$2: "
}

# The sample Photo CD (build/sample-disc/PHOTO_CD) that Wine sees as D:, once its
# authoring tool has a target in the native build; quiet when it has none yet.
lumivexa_build_sample_disc() {
  lumivexa_configure native || return 1
  lumivexa_has_target native sample_disc || return 0
  lumivexa_build native sample_disc
}
