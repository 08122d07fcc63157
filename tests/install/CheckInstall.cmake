# Installs the build into a fresh temporary prefix and checks the tree: every
# file a desktop and a packager expect, icons of the size their folder names,
# and an installed program that runs and reports the version its metadata
# names.
#
# Expects BUILD_DIR, SOURCE_DIR, PREFIX, BINDIR, DATADIR, MANDIR, APP_ID, VERSION.

cmake_minimum_required(VERSION 3.25)

file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
    RESULT_VARIABLE rc OUTPUT_QUIET)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "cmake --install failed: ${rc}")
endif()

file(GLOB_RECURSE installed RELATIVE ${PREFIX} ${PREFIX}/*)
list(SORT installed)
string(REPLACE ";" "\n  " listing "${installed}")
message(STATUS "Installed:\n  ${listing}")

set(expected
    ${BINDIR}/huesplinter
    ${DATADIR}/applications/${APP_ID}.desktop
    ${DATADIR}/metainfo/${APP_ID}.metainfo.xml
    ${DATADIR}/icons/hicolor/scalable/apps/${APP_ID}.svg
    ${MANDIR}/man1/huesplinter.1
    ${DATADIR}/bash-completion/completions/huesplinter)
set(icon_sizes 16 22 24 32 48 64 128 256)
foreach(size IN LISTS icon_sizes)
    list(APPEND expected ${DATADIR}/icons/hicolor/${size}x${size}/apps/${APP_ID}.png)
endforeach()
if(EXISTS ${SOURCE_DIR}/docs/help.html)
    list(APPEND expected ${DATADIR}/huesplinter/help.html)
endif()
foreach(file IN LISTS expected)
    if(NOT file IN_LIST installed)
        message(SEND_ERROR "missing from the install: ${file}")
    endif()
endforeach()

# A PNG names its width and height right after its signature and IHDR tag.
foreach(size IN LISTS icon_sizes)
    set(png ${PREFIX}/${DATADIR}/icons/hicolor/${size}x${size}/apps/${APP_ID}.png)
    if(EXISTS ${png})
        file(READ ${png} header OFFSET 16 LIMIT 8 HEX)
        math(EXPR hex_size "${size}" OUTPUT_FORMAT HEXADECIMAL)
        string(SUBSTRING "${hex_size}" 2 -1 digits)
        string(LENGTH "${digits}" length)
        while(length LESS 8)
            string(PREPEND digits 0)
            string(LENGTH "${digits}" length)
        endwhile()
        if(NOT header STREQUAL "${digits}${digits}")
            message(SEND_ERROR "${png} is not ${size} x ${size} pixels (header ${header})")
        endif()
    endif()
endforeach()

file(STRINGS ${PREFIX}/${DATADIR}/applications/${APP_ID}.desktop exec_line REGEX "^Exec=")
# The entry's own command comes first, before those of its actions.
list(GET exec_line 0 exec_line)
if(NOT exec_line MATCHES "^Exec=huesplinter( |$)")
    message(SEND_ERROR "the desktop entry starts something else: ${exec_line}")
endif()
file(STRINGS ${PREFIX}/${DATADIR}/applications/${APP_ID}.desktop action_exec
    REGEX "^Exec=.*--pick")
if(NOT action_exec STREQUAL "Exec=huesplinter --pick --copy")
    message(SEND_ERROR "the desktop entry has no action that picks and copies: ${action_exec}")
endif()
file(READ ${PREFIX}/${DATADIR}/metainfo/${APP_ID}.metainfo.xml metainfo)
if(NOT metainfo MATCHES "<release version=\"${VERSION}\"")
    message(SEND_ERROR "the metadata does not name release ${VERSION}")
endif()

execute_process(COMMAND ${PREFIX}/${BINDIR}/huesplinter --version
    RESULT_VARIABLE rc OUTPUT_VARIABLE version_output ERROR_VARIABLE version_error)
if(NOT rc EQUAL 0 OR NOT version_output STREQUAL "Huesplinter ${VERSION}\n")
    message(SEND_ERROR "huesplinter --version gave ${rc}: '${version_output}' ${version_error}")
endif()

# The manual page renders without a complaint from the formatter.
find_program(MAN man)
if(MAN)
    execute_process(COMMAND ${CMAKE_COMMAND} -E env LC_ALL=C.UTF-8 MANWIDTH=80
        ${MAN} --warnings -E UTF-8 -l ${PREFIX}/${MANDIR}/man1/huesplinter.1
        RESULT_VARIABLE rc OUTPUT_VARIABLE page ERROR_VARIABLE warnings)
    if(NOT rc EQUAL 0 OR NOT warnings STREQUAL "" OR NOT page MATCHES "--convert COLOUR")
        message(SEND_ERROR "man -l huesplinter.1 gave ${rc}: ${warnings}")
    endif()
endif()

# The completion offers the options and the notation names.
find_program(BASH bash)
if(BASH)
    execute_process(COMMAND ${BASH} -c
        "source '${PREFIX}/${DATADIR}/bash-completion/completions/huesplinter'
         COMP_WORDS=(huesplinter --format r); COMP_CWORD=2; _huesplinter; echo \"\${COMPREPLY[*]}\"
         COMP_WORDS=(huesplinter --co); COMP_CWORD=1; _huesplinter; echo \"\${COMPREPLY[*]}\""
        RESULT_VARIABLE rc OUTPUT_VARIABLE offered ERROR_VARIABLE error)
    if(NOT rc EQUAL 0 OR NOT offered STREQUAL "rgb-values\n--copy --convert --contrast\n")
        message(SEND_ERROR "the completion offers '${offered}' ${error}")
    endif()
endif()
