# Shared compiler settings and helpers for adding tests, fuzzers and benchmarks.

if(WIN32)
  set(LUMIVEXA_WIN32 ON)
  # Link the C and C++ runtimes statically so the exe imports only system DLLs.
  add_link_options(-static -static-libgcc -static-libstdc++)
  add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0501 WINVER=0x0501)
else()
  set(LUMIVEXA_WIN32 OFF)
endif()

add_compile_options(-Wall -Wextra -Wno-unused-parameter)

if(LUMIVEXA_SANITIZE)
  set(LUMIVEXA_SANITIZER_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_compile_options(${LUMIVEXA_SANITIZER_FLAGS})
  add_link_options(${LUMIVEXA_SANITIZER_FLAGS})
endif()

set(LUMIVEXA_FUZZING OFF)
if(LUMIVEXA_SANITIZE AND CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  set(LUMIVEXA_FUZZING ON)
endif()

if(LUMIVEXA_TESTS)
  if(LUMIVEXA_WIN32)
    # GoogleTest has no mingw package: build Debian's sources with the cross compiler.
    if(NOT TARGET gtest)
      set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
      set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
      add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
    endif()
    set(LUMIVEXA_GTEST gtest gtest_main)
    set(LUMIVEXA_GTEST_NOMAIN gtest)
  else()
    find_package(GTest REQUIRED)
    set(LUMIVEXA_GTEST GTest::gtest GTest::gtest_main)
    set(LUMIVEXA_GTEST_NOMAIN GTest::gtest)
  endif()
  include(GoogleTest)
endif()

# lumivexa_add_test(NAME SOURCES ... LIBS ... [NOMAIN] [PROPERTIES prop value ...])
# A GoogleTest program; each test case becomes one ctest test. In the
# win32 build the cases run under Wine through the crosscompiling emulator
# (scripts/wine-run.sh). PROPERTIES are extra ctest properties for every case,
# e.g. RESOURCE_LOCK browse_window for tests that open a browse window.
function(lumivexa_add_test name)
  if(NOT LUMIVEXA_TESTS)
    return()
  endif()
  cmake_parse_arguments(T "NOMAIN" "" "SOURCES;LIBS;PROPERTIES" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  if(T_NOMAIN)
    target_link_libraries(${name} PRIVATE ${T_LIBS} ${LUMIVEXA_GTEST_NOMAIN})
  else()
    target_link_libraries(${name} PRIVATE ${T_LIBS} ${LUMIVEXA_GTEST})
  endif()
  target_compile_definitions(${name} PRIVATE LUMIVEXA_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
    PROPERTIES TIMEOUT 120 ${T_PROPERTIES})
endfunction()

# lumivexa_add_fuzzer(NAME SOURCE src LIBS ... CORPUS dir [MAX_LEN bytes])
# A libFuzzer target (sanitize build with clang only). ctest runs it briefly
# over its seed corpus (CORPUS, e.g. tests/photocd/corpus/NAME) and the shrunk
# crashers kept beside it (tests/photocd/crashers/NAME); scripts/fuzz.sh runs it longer.
# MAX_LEN lets inputs grow past the largest seed.
function(lumivexa_add_fuzzer name)
  if(NOT LUMIVEXA_FUZZING)
    return()
  endif()
  cmake_parse_arguments(F "" "SOURCE;CORPUS;MAX_LEN" "LIBS" ${ARGN})
  get_filename_component(corpus ${F_CORPUS} ABSOLUTE BASE_DIR ${CMAKE_CURRENT_SOURCE_DIR})
  add_executable(${name} ${F_SOURCE})
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_libraries(${name} PRIVATE ${F_LIBS})
  set(work ${CMAKE_BINARY_DIR}/fuzz-work/${name})
  file(WRITE ${work}/seed-dir ${corpus})  # for scripts/fuzz.sh
  file(WRITE ${work}/max-len "${F_MAX_LEN}")
  add_test(NAME ${name}.brief
    COMMAND ${CMAKE_SOURCE_DIR}/scripts/run-fuzzer.sh
            $<TARGET_FILE:${name}> ${corpus} ${work} ${LUMIVEXA_FUZZ_SECONDS} ${F_MAX_LEN})
  math(EXPR limit "${LUMIVEXA_FUZZ_SECONDS} + 120")
  set_tests_properties(${name}.brief PROPERTIES TIMEOUT ${limit})
endfunction()
if(NOT DEFINED LUMIVEXA_FUZZ_SECONDS)
  set(LUMIVEXA_FUZZ_SECONDS 5)
endif()

# lumivexa_add_benchmark(NAME SOURCES ... LIBS ...) - native Google Benchmark program.
function(lumivexa_add_benchmark name)
  if(LUMIVEXA_WIN32 OR LUMIVEXA_SANITIZE OR NOT LUMIVEXA_BENCHMARKS)
    return()
  endif()
  find_package(benchmark REQUIRED)
  cmake_parse_arguments(B "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${B_SOURCES})
  target_link_libraries(${name} PRIVATE ${B_LIBS} benchmark::benchmark benchmark::benchmark_main)
endfunction()
