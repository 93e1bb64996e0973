# SPDX-License-Identifier: GPL-3.0-or-later
# cmake -DCORE=DIR -P check_core_order.cmake
# Fails naming each file of core (DIR is src/core) with an include that
# points up: core's folders are listed lowest first, and a folder includes
# only itself and those before it, so that each can be understood, tested
# and changed without the ones above it. Nothing in core reaches out of it
# either: control, ui and the programs are built on core, never under it.
set(order io text model checks translation compare formats document)

file(GLOB_RECURSE files RELATIVE "${CORE}" "${CORE}/*.h" "${CORE}/*.cpp")
if(NOT files)
    message(FATAL_ERROR "no sources under ${CORE}")
endif()

set(faults "")
foreach(file IN LISTS files)
    string(REGEX MATCH "^[^/]+" folder "${file}")
    list(FIND order "${folder}" rank)
    if(rank EQUAL -1)
        string(APPEND faults "src/core/${file}: its folder ${folder} has no place in the order\n")
        continue()
    endif()
    file(STRINGS "${CORE}/${file}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
    foreach(include IN LISTS includes)
        string(REGEX REPLACE "^[^\"]*\"([^\"]*)\".*" "\\1" header "${include}")
        if(NOT header MATCHES "^core/([^/]+)/")
            string(APPEND faults "src/core/${file}: \"${header}\" is not one of core's headers named from src/\n")
            continue()
        endif()
        list(FIND order "${CMAKE_MATCH_1}" reached)
        if(reached EQUAL -1 OR reached GREATER rank)
            string(APPEND faults "src/core/${file}: \"${header}\" is above ${folder}\n")
        endif()
    endforeach()
endforeach()

if(faults)
    list(JOIN order " < " shown)
    message("core's folders, lowest first: ${shown}\n${faults}")
    message(FATAL_ERROR "core's includes break its order")
endif()
