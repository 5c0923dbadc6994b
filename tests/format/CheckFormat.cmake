# Fails when clang-format would change a C++ source under ROOT's source folders, naming each such file.
# Run with cmake -P and CLANG_FORMAT (the program) and ROOT (the project's top folder).
cmake_minimum_required(VERSION 3.24)

set(sources)
foreach(folder src tests bench tools fuzz)
  file(GLOB_RECURSE found "${ROOT}/${folder}/*.cpp" "${ROOT}/${folder}/*.h")
  list(APPEND sources ${found})
endforeach()
list(FILTER sources EXCLUDE REGEX "/tests/layers/fixture/")
list(LENGTH sources count)

execute_process(COMMAND "${CLANG_FORMAT}" --dry-run --Werror --style=file ${sources}
                WORKING_DIRECTORY "${ROOT}" RESULT_VARIABLE result OUTPUT_QUIET ERROR_VARIABLE complaints)
if(NOT result EQUAL 0)
  string(REGEX MATCHALL "[^\n]*: error: code should be clang-formatted" lines "${complaints}")
  set(files)
  foreach(line IN LISTS lines)
    string(REGEX REPLACE ":[0-9]+:[0-9]+: error: .*" "" file "${line}")
    list(APPEND files "${file}")
  endforeach()
  list(REMOVE_DUPLICATES files)
  list(LENGTH files bad)
  string(REPLACE ";" "\n" shown "${files}")
  message(FATAL_ERROR "${bad} of ${count} sources are not formatted (clang-format -i on them):\n${shown}")
endif()
message("All ${count} sources formatted")
