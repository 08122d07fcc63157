# Checks the include rule between the folders of src/, reading the #include lines as text:
#
#   cmake -DSRC=<path to src> -P LayerRule.cmake    fails and lists every include that breaks it
#   cmake -DSELFTEST=ON -DWORK=<scratch dir> -P LayerRule.cmake
#                                                   proves that each kind of break is caught
#
# The rule: the base folders stack up as platform, support, colour, pixels, each using only those
# below it; controls and palette use the base; no folder includes src/app/ except app itself; no
# window folder (picker, sample, colorsets) includes another; dialogs may be used by every window
# but use none of them.
cmake_minimum_required(VERSION 3.25)

set(BASE_FOLDERS platform support colour pixels)
set(WINDOW_FOLDERS picker sample colorsets)

# The folders a folder may not include from.
function(forbidden_for folder out)
    set(all ${BASE_FOLDERS} controls palette dialogs picker sample colorsets app)
    if(folder IN_LIST BASE_FOLDERS)
        # A base folder uses itself and the base folders listed before it.
        list(FIND BASE_FOLDERS "${folder}" level)
        math(EXPR last "${level} + 1")
        list(SUBLIST BASE_FOLDERS 0 ${last} allowed)
    elseif(folder STREQUAL "controls")
        set(allowed ${BASE_FOLDERS} controls)
    elseif(folder STREQUAL "palette")
        set(allowed ${BASE_FOLDERS} controls palette)
    elseif(folder STREQUAL "dialogs")
        set(allowed ${BASE_FOLDERS} controls palette dialogs)
    elseif(folder IN_LIST WINDOW_FOLDERS)
        set(allowed ${BASE_FOLDERS} controls palette dialogs ${folder})
    else()
        set(allowed ${all})
    endif()
    set(result ${all})
    list(REMOVE_ITEM result ${allowed})
    set(${out} ${result} PARENT_SCOPE)
endfunction()

# Sets `out` to the list of "file: include" lines that break the rule under `src`.
function(check_layers src out)
    set(breaks "")
    file(GLOB_RECURSE sources RELATIVE "${src}" "${src}/*.h" "${src}/*.cpp")
    foreach(source IN LISTS sources)
        string(REGEX MATCH "^[^/]+" folder "${source}")
        if(folder STREQUAL source)
            continue()
        endif()
        forbidden_for("${folder}" forbidden)
        file(STRINGS "${src}/${source}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
        foreach(line IN LISTS includes)
            string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]*)\".*$" "\\1" header "${line}")
            string(REGEX MATCH "^[^/]+" target "${header}")
            if(target IN_LIST forbidden)
                list(APPEND breaks "${source}: ${header}")
            endif()
        endforeach()
    endforeach()
    set(${out} "${breaks}" PARENT_SCOPE)
endfunction()

if(SELFTEST)
    # Each case: the file to write, the header it includes, whether that breaks the rule.
    set(cases
        "colour/A.h|controls/KxButton.h|1"
        "platform/A.h|support/FileOps.h|1"
        "platform/A.cpp|colour/ColorValue.h|1"
        "support/A.h|colour/ColorValue.h|1"
        "colour/A.cpp|pixels/Kxbmp.h|1"
        "pixels/A.cpp|controls/KxPanel.h|1"
        "pixels/A.cpp|colour/ColorQt.h|0"
        "colour/A.cpp|support/TextFile.h|0"
        "controls/A.cpp|pixels/Kxbmp.h|0"
        "platform/A.cpp|app/Unit1.h|1"
        "support/A.h|dialogs/Kxmsgbx.h|1"
        "controls/A.h|palette/KxZodudIro.h|1"
        "palette/A.h|app/Unit1Ui.h|1"
        "picker/A.h|sample/Samplefrm.h|1"
        "colorsets/A.cpp|picker/Pickfrm.h|1"
        "sample/A.cpp|app/Unit1.h|1"
        "dialogs/A.cpp|colorsets/Colorsetfrm.h|1"
        "support/A.cpp|platform/Platform.h|0"
        "colorsets/A.cpp|dialogs/Kxmsgbx.h|0"
        "picker/A.cpp|palette/KxZodudIro.h|0"
        "app/A.cpp|picker/Pickfrm.h|0"
        "app/A.cpp|app/Unit1.h|0")
    set(failed "")
    set(n 0)
    foreach(case IN LISTS cases)
        string(REPLACE "|" ";" parts "${case}")
        list(GET parts 0 file)
        list(GET parts 1 header)
        list(GET parts 2 breaks)
        math(EXPR n "${n} + 1")
        set(tree "${WORK}/case${n}")
        file(REMOVE_RECURSE "${tree}")
        file(WRITE "${tree}/${file}" "#pragma once\n\n  #  include \"${header}\" // note\n")
        check_layers("${tree}" found)
        list(LENGTH found count)
        if((breaks AND count EQUAL 0) OR (NOT breaks AND count GREATER 0))
            list(APPEND failed "${file} including ${header}")
        endif()
    endforeach()
    file(REMOVE_RECURSE "${WORK}")
    if(failed)
        list(JOIN failed "\n  " text)
        message(FATAL_ERROR "the layer check misjudged:\n  ${text}")
    endif()
    return()
endif()

if(NOT IS_DIRECTORY "${SRC}")
    message(FATAL_ERROR "no source folder given (-DSRC=...)")
endif()
check_layers("${SRC}" found)
if(found)
    list(JOIN found "\n  " text)
    message(FATAL_ERROR "includes that break the layer rule:\n  ${text}")
endif()
