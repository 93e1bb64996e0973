# SPDX-License-Identifier: GPL-3.0-or-later
# cmake -DCHECK=NAME -DWORK=DIR -DFILES=F1;F2 [-DSAMPLE=FILE] -P check_desktop.cmake
# Runs one desktop check; any complaint from the tool, even a warning that
# leaves its exit status 0, fails it.

# run(ARGS...): fails on a nonzero status or on anything on stderr.
function(run)
    execute_process(COMMAND ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
    if(NOT status EQUAL 0 OR NOT err STREQUAL "")
        message(FATAL_ERROR "${ARGN}\nstatus ${status}\n${out}${err}")
    endif()
    set(output "${out}" PARENT_SCOPE)
endfunction()

macro(require tool)
    find_program(${tool}_path ${tool})
    if(NOT ${tool}_path)
        message("skipped: ${tool} is not installed")
        return()
    endif()
endmacro()

foreach(file IN LISTS FILES)
    if(NOT EXISTS "${file}")
        message(FATAL_ERROR "${file} does not exist")
    endif()
endforeach()

if(CHECK STREQUAL "desktop_entry")
    require(desktop-file-validate)
    # Hints too: they name real mistakes, such as two main categories.
    run(${desktop-file-validate_path} ${FILES})
    if(NOT output STREQUAL "")
        message(FATAL_ERROR "${output}")
    endif()
elseif(CHECK STREQUAL "desktop_metainfo")
    require(appstreamcli)
    run(${appstreamcli_path} validate --no-net --strict --no-color ${FILES})
elseif(CHECK STREQUAL "desktop_mime")
    require(xmllint)
    run(${xmllint_path} --noout ${FILES})
    require(update-mime-database)
    file(REMOVE_RECURSE "${WORK}")
    file(COPY ${FILES} DESTINATION "${WORK}/mime/packages")
    run(${CMAKE_COMMAND} -E env "XDG_DATA_DIRS=${WORK}" ${update-mime-database_path} "${WORK}/mime")
    # A table is known by its first bytes, also under a name without .stf.
    require(gio)
    file(COPY_FILE "${SAMPLE}" "${WORK}/table.bin")
    run(${CMAKE_COMMAND} -E env "XDG_DATA_HOME=${WORK}" "XDG_DATA_DIRS=${WORK}:/usr/share"
        ${gio_path} info -a standard::content-type "${WORK}/table.bin")
    if(NOT output MATCHES "content-type: application/x-wendaro-stf\n")
        message(FATAL_ERROR "a table named table.bin is not application/x-wendaro-stf:\n${output}")
    endif()
elseif(CHECK STREQUAL "desktop_man")
    require(groff)
    foreach(page IN LISTS FILES)
        run(${CMAKE_COMMAND} -E env LC_ALL=C.UTF-8 ${groff_path} -man -Tutf8 -ww -z "${page}")
    endforeach()
else()
    message(FATAL_ERROR "unknown check ${CHECK}")
endif()
