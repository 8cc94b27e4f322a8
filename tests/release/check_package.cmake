# Checks the program as it ships: Velkin.exe's version record carries VERSION and
# VERSION_NUMBERS, its manifest MANIFEST_VERSION, it holds VERSION_TEXT (its title's), and it
# needs no DLL beyond those of cmake/system-dlls.txt; then makes the release package into a
# scratch folder and checks its name (also where the README names it), that it holds exactly
# Velkin.exe, README.md and LICENSE at its top level, that the exe in it is the one built, and
# that the .sha256 beside it is the zip's.
# -DBINARY_DIR=<build> -DSOURCE_DIR=<source> -DPACKAGE=<name without .zip> -DCPACK=<cpack>
# -DOBJDUMP=<objdump> -DWINDRES=<windres> -DEXE=<Velkin.exe> -DVERSION=<file version>
# -DVERSION_NUMBERS=<2,0,0,1> -DMANIFEST_VERSION=<2.0.0.1> -DVERSION_TEXT=<title's version>
cmake_minimum_required(VERSION 3.21)
function(expect what expected got)
    if(NOT "${expected}" STREQUAL "${got}")
        message(FATAL_ERROR "${what}: expected \"${expected}\", got \"${got}\"")
    endif()
endfunction()

execute_process(COMMAND ${WINDRES} -i ${EXE} -O rc OUTPUT_VARIABLE resources)
string(REGEX MATCH "FILEVERSION ([0-9, ]+)" ignored "${resources}")
string(REPLACE " " "" numbers "${CMAKE_MATCH_1}")  # windres writes "2, 0, 0, 1"
expect("FILEVERSION" "${VERSION_NUMBERS}" "${numbers}")
foreach(pair "FileVersion;${VERSION}" "ProductVersion;${VERSION}" "InternalName;Velkin"
             "OriginalFilename;Velkin.exe")
    list(GET pair 0 name)
    list(GET pair 1 value)
    string(REGEX MATCH "VALUE \"${name}\", \"([^\"]*)\"" ignored "${resources}")
    expect("${name}" "${value}" "${CMAKE_MATCH_1}")
endforeach()
foreach(name CompanyName ProductName)
    if(NOT resources MATCHES "VALUE \"${name}\", \"[^\"]+\"")
        message(FATAL_ERROR "${name}: expected a text, got none")
    endif()
endforeach()
file(STRINGS ${EXE} manifest REGEX "name=\"Velkin\"")
string(FIND "${manifest}" "version=\"${MANIFEST_VERSION}\"" at)
if(at EQUAL -1)
    message(FATAL_ERROR "manifest: expected version=\"${MANIFEST_VERSION}\", got: ${manifest}")
endif()
# The title's version is a string of its own in the exe.
string(REGEX REPLACE "([][.*+?^$()|\\])" "\\\\\\1" text_pattern "${VERSION_TEXT}")
file(STRINGS ${EXE} texts REGEX "${text_pattern}")
if(NOT VERSION_TEXT IN_LIST texts)
    message(FATAL_ERROR "Velkin.exe: expected the string \"${VERSION_TEXT}\", got: ${texts}")
endif()

execute_process(COMMAND ${OBJDUMP} -p ${EXE} OUTPUT_VARIABLE headers RESULT_VARIABLE status)
string(REGEX MATCHALL "DLL Name: [^\n]+" dlls "${headers}")
if(NOT status EQUAL 0 OR NOT dlls)
    message(FATAL_ERROR "objdump -p Velkin.exe: expected its imports, got exit ${status}")
endif()
file(STRINGS ${SOURCE_DIR}/cmake/system-dlls.txt system REGEX "^[^#]")
foreach(dll ${dlls})
    string(REPLACE "DLL Name: " "" dll "${dll}")
    string(TOLOWER "${dll}" dll)
    if(NOT dll IN_LIST system)
        message(FATAL_ERROR "Velkin.exe imports: expected only DLLs of Windows, got ${dll}")
    endif()
endforeach()

file(READ ${SOURCE_DIR}/README.md readme)
string(FIND "${readme}" "${PACKAGE}.zip" named)
if(named EQUAL -1)
    message(FATAL_ERROR "README.md: expected the release zip ${PACKAGE}.zip named, got none")
endif()

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
