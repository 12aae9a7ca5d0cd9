# Runs tools/make_prefix_file.py on the installed country file and master callsign file and
# compares its two outputs with the shipped template and the committed report, byte for byte.
# Skips when the hamradio-files package is not installed or holds other versions of the files
# than those the template was made from.
set(cty /usr/share/hamradio-files/cty.dat)
set(master /usr/share/hamradio-files/MASTER.SCP)
set(cty_sha256 3aa4beefc62505a53ec539f33749d5eeb0ab09707c2200793f395bf95374b9e1)
set(master_sha256 dee99f156fb0a74c6cc626b0666e558a1b95a044f0b8e4df8b7f3a022348d916)
foreach(pair "${cty}|${cty_sha256}" "${master}|${master_sha256}")
  string(REPLACE "|" ";" pair "${pair}")
  list(GET pair 0 file)
  list(GET pair 1 expected)
  if(NOT EXISTS "${file}")
    message("SKIPPED: ${file} is not installed (package hamradio-files)")
    return()
  endif()
  file(SHA256 "${file}" actual)
  if(NOT actual STREQUAL expected)
    message("SKIPPED: ${file} is another version than the template was made from")
    return()
  endif()
endforeach()

execute_process(
  COMMAND "${PYTHON}" "${ROOT}/tools/make_prefix_file.py" --cty "${cty}" --master "${master}"
          --output "${OUT}/FXXXX_Prefixe.txt" --report "${OUT}/prefix_choices.txt"
  RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "make_prefix_file.py failed (${status})")
endif()
foreach(pair "FXXXX_Prefixe.txt|data/FXXXX_Prefixe.txt" "prefix_choices.txt|tools/prefix_choices.txt")
  string(REPLACE "|" ";" pair "${pair}")
  list(GET pair 0 made)
  list(GET pair 1 committed)
  execute_process(COMMAND "${CMAKE_COMMAND}" -E compare_files "${OUT}/${made}" "${ROOT}/${committed}"
                  RESULT_VARIABLE differs)
  if(differs)
    message(FATAL_ERROR "${committed} is not what tools/make_prefix_file.py makes: run it and commit the result")
  endif()
endforeach()
message("The template and the report are what the generator makes.")
