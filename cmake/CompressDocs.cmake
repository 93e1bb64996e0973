# SPDX-License-Identifier: GPL-3.0-or-later
# Run by CPack on its staging folder: Debian keeps manual pages and the
# package's changelog gzipped, made with gzip -9n (no name or time stamp in
# the header) so that the package is the same from the same sources.
find_program(gzip_program gzip REQUIRED)
file(GLOB_RECURSE docs "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*")
list(FILTER docs INCLUDE REGEX "/share/man/man[1-9]/[^/]+\\.[1-9]$|/share/doc/wendaro/changelog$")
foreach(doc IN LISTS docs)
    execute_process(COMMAND ${gzip_program} -9nf "${doc}" COMMAND_ERROR_IS_FATAL ANY)
endforeach()
