# Shared settings for the scripts in this folder (sourced, not run).
# LUMIVEXA_CACHE  per-machine cache outside git (mingw libraries, Wine prefixes)
# LUMIVEXA_JOBS   parallel build jobs (default: number of processors)
LUMIVEXA_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
LUMIVEXA_CACHE=${LUMIVEXA_CACHE:-$HOME/.cache/lumivexa}
LUMIVEXA_JOBS=${LUMIVEXA_JOBS:-$(nproc)}
export LUMIVEXA_ROOT LUMIVEXA_CACHE LUMIVEXA_JOBS

say() { printf '== %s\n' "$*" >&2; }
die() { printf 'error: %s\n' "$*" >&2; exit 1; }

# Prefix holding the static Windows builds of libjpeg, libpng and libtiff for one architecture.
mingw_deps_prefix() { echo "$LUMIVEXA_CACHE/mingw-deps/$1-w64-mingw32"; }
