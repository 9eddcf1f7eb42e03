# Shared helpers for the station's CMake files.

# Warnings on our own code only; errors where the project builds itself
# (ZEK_WERROR, which scripts/setup and scripts/test turn on), so a user's
# build with another configuration or compiler is not stopped by a warning.
function(zek_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra)
  if(ZEK_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

# zek_gtest(<name> SOURCES ... LIBS ...): one GoogleTest executable whose
# cases CTest discovers by name.
function(zek_gtest name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  zek_warnings(${name})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gmock GTest::gtest_main)
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST NO_PRETTY_VALUES
    PROPERTIES ENVIRONMENT "ZEK_TEST_SOURCE_DIR=${PROJECT_SOURCE_DIR}")
endfunction()

# zek_fuzzer(<name> SOURCES ... LIBS ... [RUNS n]): a libFuzzer harness, also
# run briefly by CTest over a fixed number of inputs (20000 unless RUNS says
# otherwise) so it keeps building and keeps passing.
function(zek_fuzzer name)
  cmake_parse_arguments(ARG "" "RUNS" "SOURCES;LIBS" ${ARGN})
  if(NOT ARG_RUNS)
    set(ARG_RUNS 20000)
  endif()
  add_executable(${name} ${ARG_SOURCES})
  zek_warnings(${name})
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
  target_link_libraries(${name} PRIVATE ${ARG_LIBS})
  add_test(NAME fuzz.${name} COMMAND ${name} -runs=${ARG_RUNS} -seed=1)
endfunction()
