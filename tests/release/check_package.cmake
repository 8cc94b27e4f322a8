# Makes the release package into a scratch folder and checks it: the zip's name, that it
# holds exactly Velkin.exe, README.md and LICENSE at its top level, that the exe in it is
# the one built, and that the .sha256 beside it is the zip's.
# -DBINARY_DIR=<build> -DSOURCE_DIR=<source> -DPACKAGE=<name without .zip> -DCPACK=<cpack>
set(scratch ${BINARY_DIR}/release-check)
file(REMOVE_RECURSE ${scratch})
file(MAKE_DIRECTORY ${scratch}/unpacked)

execute_process(COMMAND ${CPACK} --config ${BINARY_DIR}/CPackConfig.cmake -B ${scratch}
                RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "cpack: expected exit 0, got ${status}:\n${output}")
endif()

set(zip ${scratch}/${PACKAGE}.zip)
foreach(file ${zip} ${zip}.sha256)
    if(NOT EXISTS ${file})
        file(GLOB made ${scratch}/*.zip*)
        message(FATAL_ERROR "expected ${file}, got: ${made}")
    endif()
endforeach()

file(SHA256 ${zip} actual)
file(READ ${zip}.sha256 recorded)
string(REGEX MATCH "^[0-9a-f]+" recorded_hash "${recorded}")
if(NOT recorded_hash STREQUAL actual)
    message(FATAL_ERROR "${PACKAGE}.zip.sha256: expected ${actual}, got ${recorded_hash}")
endif()

execute_process(COMMAND ${CMAKE_COMMAND} -E tar tf ${zip} OUTPUT_VARIABLE listing
                RESULT_VARIABLE status)
string(REGEX REPLACE "\r?\n$" "" listing "${listing}")
string(REPLACE "\n" ";" entries "${listing}")
list(SORT entries)
set(wanted LICENSE README.md Velkin.exe)
if(NOT entries STREQUAL wanted)
    message(FATAL_ERROR "zip contents: expected ${wanted}, got ${entries}")
endif()

execute_process(COMMAND ${CMAKE_COMMAND} -E tar xf ${zip} WORKING_DIRECTORY ${scratch}/unpacked)
foreach(pair "Velkin.exe;${BINARY_DIR}/Velkin.exe" "LICENSE;${SOURCE_DIR}/LICENSE"
             "README.md;${SOURCE_DIR}/README.md")
    list(GET pair 0 name)
    list(GET pair 1 original)
    file(SHA256 ${scratch}/unpacked/${name} packed)
    file(SHA256 ${original} built)
    if(NOT packed STREQUAL built)
        message(FATAL_ERROR "${name} in the zip: expected the bytes of ${original}, got others")
    endif()
endforeach()
file(REMOVE_RECURSE ${scratch})
message(STATUS "${PACKAGE}.zip: Velkin.exe, README.md, LICENSE; checksum matches")
