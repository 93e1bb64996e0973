# SPDX-License-Identifier: GPL-3.0-or-later
# Run by CPack on its staging folder: Debian keeps the package's changelog
# gzipped, made with gzip -9n as the manual pages are, so that the package is
# the same from the same sources.
find_program(gzip_program gzip REQUIRED)
file(GLOB_RECURSE changelogs "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*/changelog")
list(FILTER changelogs INCLUDE REGEX "/share/doc/wendaro/changelog$")
foreach(changelog IN LISTS changelogs)
    execute_process(COMMAND ${gzip_program} -9nf "${changelog}" COMMAND_ERROR_IS_FATAL ANY)
endforeach()
