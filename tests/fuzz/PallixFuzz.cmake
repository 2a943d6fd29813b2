# pallix_fuzz_target(NAME SOURCES file... [SEEDS dir] [SECONDS n] [MAX_LEN n])
# A libFuzzer target built with clang 14 apart from the main build (whose compiler
# and sanitizer flags differ) and run for a few seconds as a test labelled core.
# Sources and seeds are relative to the calling folder; the test is skipped where
# clang 14 is missing.
function(pallix_fuzz_target name)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "SEEDS;SECONDS;MAX_LEN" "SOURCES")
  if(NOT arg_SECONDS)
    set(arg_SECONDS 4)
  endif()
  if(NOT arg_MAX_LEN)
    set(arg_MAX_LEN 600)
  endif()
  set(seeds -)
  if(arg_SEEDS)
    get_filename_component(seeds ${arg_SEEDS} ABSOLUTE BASE_DIR ${CMAKE_CURRENT_SOURCE_DIR})
  endif()
  set(sources "")
  foreach(source IN LISTS arg_SOURCES)
    get_filename_component(path ${source} ABSOLUTE BASE_DIR ${CMAKE_CURRENT_SOURCE_DIR})
    list(APPEND sources ${path})
  endforeach()
  add_test(NAME ${name}
    COMMAND ${PROJECT_SOURCE_DIR}/tests/fuzz/run-fuzz.sh ${name} ${CMAKE_CURRENT_BINARY_DIR}/${name}
            ${PROJECT_BINARY_DIR}/fuzz-objects ${arg_SECONDS} ${arg_MAX_LEN} ${seeds} ${sources})
  set_tests_properties(${name} PROPERTIES LABELS core SKIP_RETURN_CODE 77 TIMEOUT 300)
endfunction()
