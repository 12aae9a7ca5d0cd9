# Fails when a C++ file of the project differs from what clang-format makes of it with the
# project's .clang-format.
find_program(CLANG_FORMAT NAMES clang-format clang-format-14 REQUIRED)
file(GLOB_RECURSE files RELATIVE "${ROOT}"
  "${ROOT}/aids/*.cpp" "${ROOT}/aids/*.h" "${ROOT}/app/*.cpp" "${ROOT}/app/*.h" "${ROOT}/bench/*.cpp" "${ROOT}/bench/*.h"
  "${ROOT}/cluster/*.cpp" "${ROOT}/cluster/*.h" "${ROOT}/entry/*.cpp" "${ROOT}/entry/*.h"
  "${ROOT}/geo/*.cpp" "${ROOT}/geo/*.h" "${ROOT}/labels/*.cpp" "${ROOT}/labels/*.h"
  "${ROOT}/logstore/*.cpp" "${ROOT}/logstore/*.h" "${ROOT}/platform/*.cpp" "${ROOT}/platform/*.h"
  "${ROOT}/reports/*.cpp" "${ROOT}/reports/*.h" "${ROOT}/rig/*.cpp" "${ROOT}/rig/*.h"
  "${ROOT}/spots/*.cpp" "${ROOT}/spots/*.h" "${ROOT}/station/*.cpp" "${ROOT}/station/*.h"
  "${ROOT}/stats/*.cpp" "${ROOT}/stats/*.h" "${ROOT}/tests/*.cpp" "${ROOT}/tests/*.h")
list(LENGTH files count)
if(count EQUAL 0)
  message(FATAL_ERROR "no source found under ${ROOT}")
endif()
execute_process(COMMAND "${CLANG_FORMAT}" --dry-run --Werror ${files}
  WORKING_DIRECTORY "${ROOT}" RESULT_VARIABLE failed ERROR_VARIABLE report)
if(failed)
  message(FATAL_ERROR "These files are not formatted (run clang-format -i on them):\n${report}")
endif()
message(STATUS "${count} files follow .clang-format")
