# SPDX-License-Identifier: GPL-3.0-or-later
# Run by CPack on its staging folder: gzip -9n, as Debian installs manual
# pages, without a name or time stamp in the header so that the package is
# the same from the same sources.
find_program(gzip_program gzip REQUIRED)
file(GLOB_RECURSE pages "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*.[1-9]")
list(FILTER pages INCLUDE REGEX "/share/man/man[1-9]/[^/]+$")
foreach(page IN LISTS pages)
    execute_process(COMMAND ${gzip_program} -9nf "${page}" COMMAND_ERROR_IS_FATAL ANY)
endforeach()
