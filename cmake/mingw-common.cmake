# Shared part of the mingw-w64 toolchain files; CMAKE_SYSTEM_PROCESSOR is set by the caller.
# LUMIVEXA_DEPS is the prefix that scripts/build-mingw-deps.sh fills with static libjpeg,
# libpng and libtiff for this architecture (default: the per-machine cache).
set(CMAKE_SYSTEM_NAME Windows)
set(triplet ${CMAKE_SYSTEM_PROCESSOR}-w64-mingw32)
set(CMAKE_C_COMPILER ${triplet}-gcc-posix)
set(CMAKE_CXX_COMPILER ${triplet}-g++-posix)
set(CMAKE_RC_COMPILER ${triplet}-windres)

if(NOT LUMIVEXA_DEPS)
  if(DEFINED ENV{LUMIVEXA_DEPS})
    set(LUMIVEXA_DEPS $ENV{LUMIVEXA_DEPS})
  elseif(DEFINED ENV{LUMIVEXA_CACHE})
    set(LUMIVEXA_DEPS $ENV{LUMIVEXA_CACHE}/mingw-deps/${triplet})
  else()
    set(LUMIVEXA_DEPS $ENV{HOME}/.cache/lumivexa/mingw-deps/${triplet})
  endif()
endif()
# try_compile projects read this file again; hand them the same prefix.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES LUMIVEXA_DEPS)

set(CMAKE_FIND_ROOT_PATH ${LUMIVEXA_DEPS} /usr/${triplet})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# /usr/<triplet>/lib has libz.dll.a too; take the static library.
set(ZLIB_USE_STATIC_LIBS ON)
set(ZLIB_LIBRARY /usr/${triplet}/lib/libz.a)
set(ZLIB_INCLUDE_DIR /usr/${triplet}/include)

# ctest runs the Windows programs under Wine (inside a session of scripts/wine-env.sh).
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run.sh)
