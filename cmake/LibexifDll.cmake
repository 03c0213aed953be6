# libexif as a DLL beside the programs (bin/libexif-12.dll) for the Windows builds.
# libexif is under the LGPL: as a DLL of its own, a user can put a build of their
# own in its place, which a static link would not allow. It is compiled from the
# Debian source that scripts/build-mingw-exif.sh fetched into the machine cache
# (LUMIVEXA_EXIF_SOURCE, also what `make dist` ships), like that script compiles
# it: every source file, no translations.
file(GLOB exif_sources_found LIST_DIRECTORIES true ${LUMIVEXA_DEPS}/../src/libexif-*)
list(SORT exif_sources_found COMPARE NATURAL)
list(POP_BACK exif_sources_found LUMIVEXA_EXIF_SOURCE)
if(NOT IS_DIRECTORY "${LUMIVEXA_EXIF_SOURCE}/libexif")
  message(FATAL_ERROR "no libexif source under ${LUMIVEXA_DEPS}/../src: run scripts/build-mingw-exif.sh")
endif()
set(LUMIVEXA_EXIF_SOURCE ${LUMIVEXA_EXIF_SOURCE} CACHE INTERNAL "libexif source the DLL is built from")

set(exif_generated ${CMAKE_BINARY_DIR}/libexif-build)
# (file(CONFIGURE) writes only when the text changed, so nothing rebuilds needlessly.)
file(CONFIGURE OUTPUT ${exif_generated}/config.h
     CONTENT "#define GETTEXT_PACKAGE \"libexif-12\"\n#define LOCALEDIR \"\"\n" @ONLY)
file(CONFIGURE OUTPUT ${exif_generated}/libexif/_stdint.h CONTENT "#include <stdint.h>\n" @ONLY)
file(GLOB exif_sources ${LUMIVEXA_EXIF_SOURCE}/libexif/*.c ${LUMIVEXA_EXIF_SOURCE}/libexif/*/*.c)

add_library(lumivexa_exif SHARED ${exif_sources})
set_target_properties(lumivexa_exif PROPERTIES OUTPUT_NAME exif-12)
target_include_directories(lumivexa_exif PUBLIC ${exif_generated} ${LUMIVEXA_EXIF_SOURCE})
target_compile_options(lumivexa_exif PRIVATE -w)  # not our code: its warnings are not ours to fix
