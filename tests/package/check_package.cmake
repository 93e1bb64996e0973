# SPDX-License-Identifier: GPL-3.0-or-later
# cmake -DCPACK=cpack -DCONFIG=CPackConfig.cmake -DWORK=DIR -DVERSION=V [-DFLAGS="..."] -P check_package.cmake
# Builds the package, then: every file the install rules promise is in it;
# its Depends name Qt and the window's font and resolve with apt; both
# programs, unpacked, start with the system's libraries; lintian finds the
# licence, the changelog and the hardening that FLAGS, the build's compiler
# and linker flags, ask for.

function(run)
    execute_process(COMMAND ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "${ARGN}\nstatus ${status}\n${out}${err}")
    endif()
    set(output "${out}" PARENT_SCOPE)
endfunction()

foreach(tool dpkg-deb dpkg-shlibdeps apt-get file)
    find_program(${tool}_path ${tool})
    if(NOT ${tool}_path)
        message("skipped: ${tool} is not installed")
        return()
    endif()
endforeach()

file(REMOVE_RECURSE "${WORK}")
run(${CPACK} --config "${CONFIG}" -B "${WORK}")
file(GLOB deb "${WORK}/wendaro_${VERSION}_*.deb")
list(LENGTH deb count)
if(NOT count EQUAL 1)
    message(FATAL_ERROR "expected one wendaro_${VERSION}_ARCH.deb in ${WORK}, found: ${deb}")
endif()

run(dpkg-deb -c "${deb}")
set(contents "\n${output}")
set(files usr/bin/wendaro usr/bin/wendaro-cli
    usr/share/applications/wendaro.desktop
    usr/share/mime/packages/wendaro-stf.xml
    usr/share/metainfo/io.github.wendaro.Wendaro.metainfo.xml
    usr/share/icons/hicolor/scalable/apps/wendaro.svg
    usr/share/man/man1/wendaro.1.gz
    usr/share/man/man1/wendaro-cli.1.gz
    usr/share/bash-completion/completions/wendaro-cli
    # Help looks for it at ../share/doc/wendaro from the program's folder.
    usr/share/doc/wendaro/readme.txt
    usr/share/doc/wendaro/copyright
    usr/share/doc/wendaro/changelog.gz)
foreach(size 16 32 48 64 128 256)
    list(APPEND files usr/share/icons/hicolor/${size}x${size}/apps/wendaro.png)
endforeach()
foreach(path IN LISTS files)
    string(FIND "${contents}" " ./${path}\n" at)
    if(at EQUAL -1)
        message(FATAL_ERROR "${deb} lacks /${path}:\n${output}")
    endif()
endforeach()

run(dpkg-deb -f "${deb}" Depends)
foreach(package libqt6core6 libqt6gui6 libqt6widgets6 libgettextpo0 fonts-ipafont-gothic)
    if(NOT ", ${output}" MATCHES ", ${package}[ ,\n]")
        message(FATAL_ERROR "Depends lacks ${package}: ${output}")
    endif()
endforeach()
run(apt-get install --simulate "${deb}")

run(dpkg-deb -x "${deb}" "${WORK}/root")
foreach(program wendaro wendaro-cli)
    run("${WORK}/root/usr/bin/${program}" --version)
    if(NOT output STREQUAL "${program} ${VERSION}\n")
        message(FATAL_ERROR "${program} --version from the package printed: ${output}")
    endif()
endforeach()

find_program(lintian_path lintian)
if(NOT lintian_path)
    message("lintian is not installed: its tags go unchecked")
    return()
endif()
set(tags no-copyright-file no-changelog)
# A hardening tag only where the build asked for what mends it: ./dev
# package's build does, the suite's plain build does not.
if(FLAGS MATCHES "-D_FORTIFY_SOURCE=")
    list(APPEND tags hardening-no-fortify-functions)
endif()
if(FLAGS MATCHES "-z,now")
    list(APPEND tags hardening-no-bindnow)
endif()
list(JOIN tags , tag_list)
run(lintian --fail-on none --display-info --tags ${tag_list} "${deb}")
foreach(tag IN LISTS tags)
    if(output MATCHES "[: ]${tag}( |\n|$)")
        message(FATAL_ERROR "lintian on ${deb}:\n${output}")
    endif()
endforeach()
