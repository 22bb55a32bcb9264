# Registers a GoogleTest program with ctest as one test per test suite, so that a run starts one
# process per suite rather than one per test (each Windows process pays Wine's start-up).
# A suite of more than SHARD_SIZE tests (default KV_TESTS_PER_SHARD) is split into shards of
# consecutive tests, which ctest runs side by side.
#
# The suites are listed when ctest starts (the program may need Wine to run), and listed again
# only when the program is newer than the list. ctest's names are "<program>.<Suite>" (and
# "<program>.<Suite>#<n>" for shards); the program's own output names the test that failed.
#
# This file is included by CMakeLists.txt (defines kv_add_test_suites) and also runs in ctest's
# script mode through the generated include file (KV_DISCOVER_* set: lists and writes the tests).

set(KV_TESTS_PER_SHARD 40 CACHE STRING "Most tests one ctest test runs from a single suite")

if(NOT DEFINED KV_DISCOVER_PROGRAM)
  set(KV_TEST_SUITES_SCRIPT "${CMAKE_CURRENT_LIST_FILE}")

  function(kv_add_test_suites target)
    cmake_parse_arguments(ARG "" "TIMEOUT;SHARD_SIZE" "" ${ARGN})
    if(NOT ARG_TIMEOUT)
      set(ARG_TIMEOUT 120)
    endif()
    if(NOT ARG_SHARD_SIZE)
      set(ARG_SHARD_SIZE ${KV_TESTS_PER_SHARD})
    endif()
    set(emulator "")
    if(CMAKE_CROSSCOMPILING_EMULATOR)
      set(emulator "${CMAKE_CROSSCOMPILING_EMULATOR}")
    endif()
    set(base "${CMAKE_CURRENT_BINARY_DIR}/${target}")
    file(GENERATE OUTPUT "${base}_include.cmake" CONTENT
"set(KV_DISCOVER_PROGRAM [==[$<TARGET_FILE:${target}>]==])
set(KV_DISCOVER_NAME [==[${target}]==])
set(KV_DISCOVER_EMULATOR [==[${emulator}]==])
set(KV_DISCOVER_WORKDIR [==[${CMAKE_CURRENT_BINARY_DIR}]==])
set(KV_DISCOVER_LIST [==[${base}_suites.cmake]==])
set(KV_DISCOVER_TIMEOUT ${ARG_TIMEOUT})
set(KV_DISCOVER_CMAKE [==[${CMAKE_COMMAND}]==])
set(KV_TESTS_PER_SHARD ${ARG_SHARD_SIZE})
include([==[${KV_TEST_SUITES_SCRIPT}]==])
")
    set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES "${base}_include.cmake")
  endfunction()
  return()
endif()

# --- ctest time: list the program's tests and register its suites ---------------------------

# A ctest test that fails and says why, for a program that could not be listed.
function(kv_discovery_failed_test reason)
  string(REPLACE "\n" "\n# " commented "${reason}")
  file(WRITE "${KV_DISCOVER_LIST}.failed"
"# ${commented}
add_test([==[${KV_DISCOVER_NAME}.list_tests]==] [==[${KV_DISCOVER_CMAKE}]==] -E echo [==[${reason}]==])
set_tests_properties([==[${KV_DISCOVER_NAME}.list_tests]==] PROPERTIES WILL_FAIL TRUE)
")
  include("${KV_DISCOVER_LIST}.failed")
endfunction()

function(kv_write_suite_tests listing)
  string(REPLACE ";" "\\;" listing "${listing}")
  string(REPLACE "\r" "" listing "${listing}")
  string(REPLACE "\n" ";" lines "${listing}")
  set(suites "")
  set(suite "")
  foreach(line IN LISTS lines)
    # "Suite." or "Prefix/Suite.  # TypeParam = ..." starts a suite; "  Test  # GetParam() = ..."
    # is one of its tests.
    string(REGEX REPLACE " +#.*$" "" line "${line}")
    if(line MATCHES "^([^ ].*)\\.$")
      set(suite "${CMAKE_MATCH_1}")
      string(MAKE_C_IDENTIFIER "${suite}" key)
      list(APPEND suites "${suite}")
      set(tests_${key} "")
    elseif(line MATCHES "^  ([^ ]+)$" AND NOT suite STREQUAL "")
      list(APPEND tests_${key} "${CMAKE_MATCH_1}")
    endif()
  endforeach()

  set(command "")
  if(KV_DISCOVER_EMULATOR)
    set(command "[==[${KV_DISCOVER_EMULATOR}]==] ")
  endif()
  string(APPEND command "[==[${KV_DISCOVER_PROGRAM}]==]")
  set(out "# Listed from ${KV_DISCOVER_PROGRAM}\n")
  foreach(suite IN LISTS suites)
    string(MAKE_C_IDENTIFIER "${suite}" key)
    list(LENGTH tests_${key} count)
    if(count EQUAL 0)
      continue()
    endif()
    math(EXPR shards "(${count} + ${KV_TESTS_PER_SHARD} - 1) / ${KV_TESTS_PER_SHARD}")
    if(shards EQUAL 1)
      set(names "${KV_DISCOVER_NAME}.${suite}")
      set(filters "${suite}.*")
    else()
      # Shards of equal size, in the order the program lists the tests.
      set(names "")
      set(filters "")
      math(EXPR last "${shards} - 1")
      foreach(shard RANGE 0 ${last})
        math(EXPR first "${shard} * ${count} / ${shards}")
        math(EXPR end "(${shard} + 1) * ${count} / ${shards}")
        math(EXPR length "${end} - ${first}")
        list(SUBLIST tests_${key} ${first} ${length} part)
        list(TRANSFORM part PREPEND "${suite}.")
        list(JOIN part ":" filter)
        math(EXPR number "${shard} + 1")
        list(APPEND names "${KV_DISCOVER_NAME}.${suite}#${number}")
        list(APPEND filters "${filter}")
      endforeach()
    endif()
    foreach(name filter IN ZIP_LISTS names filters)
      string(APPEND out
"add_test([==[${name}]==] ${command} [==[--gtest_filter=${filter}]==])
set_tests_properties([==[${name}]==] PROPERTIES WORKING_DIRECTORY [==[${KV_DISCOVER_WORKDIR}]==] TIMEOUT ${KV_DISCOVER_TIMEOUT})
")
    endforeach()
  endforeach()
  file(WRITE "${KV_DISCOVER_LIST}" "${out}")
endfunction()

if(NOT EXISTS "${KV_DISCOVER_PROGRAM}")
  kv_discovery_failed_test("${KV_DISCOVER_PROGRAM} is not built")
  return()
endif()
if(NOT EXISTS "${KV_DISCOVER_LIST}" OR "${KV_DISCOVER_PROGRAM}" IS_NEWER_THAN "${KV_DISCOVER_LIST}")
  execute_process(
    COMMAND ${KV_DISCOVER_EMULATOR} "${KV_DISCOVER_PROGRAM}" --gtest_list_tests
    WORKING_DIRECTORY "${KV_DISCOVER_WORKDIR}"
    TIMEOUT 300
    RESULT_VARIABLE result
    OUTPUT_VARIABLE listing
    ERROR_VARIABLE errors)
  if(NOT result EQUAL 0)
    file(REMOVE "${KV_DISCOVER_LIST}")
    kv_discovery_failed_test("listing the tests of ${KV_DISCOVER_PROGRAM} failed (${result}):\n${listing}\n${errors}")
    return()
  endif()
  kv_write_suite_tests("${listing}")
endif()
include("${KV_DISCOVER_LIST}")
