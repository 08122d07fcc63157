# Checks that every file the program writes goes through the one checked writer
# (src/platform/FileWriter.cpp, reached from above through FileOps), reading the sources as text:
#
#   cmake -DSRC=<path to src> -P WriterRule.cmake     fails and lists every other write path
#   cmake -DSELFTEST=ON -DWORK=<scratch dir> -P WriterRule.cmake
#                                                    proves that each kind of write path is caught
#
# A write path is anything that opens a file for writing or puts bytes into one: QSaveFile, an
# open mode that writes, Qt's and the C library's copies and streams.
cmake_minimum_required(VERSION 3.25)

set(WRITER "platform/FileWriter.cpp")
set(WRITE_PATTERNS
    "QSaveFile"
    "QIODevice::WriteOnly" "QIODevice::ReadWrite" "QIODevice::Append" "QIODevice::Truncate"
    "QFile::copy" "QFile::link" "std::ofstream" "std::fstream"
    "[^a-z_]fopen\\(" "QImageWriter" "QPdfWriter")

# Sets `out` to the "file: line" entries that write outside the writer under `src`.
function(check_writes src out)
    set(found "")
    file(GLOB_RECURSE sources RELATIVE "${src}" "${src}/*.h" "${src}/*.cpp")
    foreach(source IN LISTS sources)
        if(source STREQUAL WRITER)
            continue()
        endif()
        file(STRINGS "${src}/${source}" lines)
        foreach(line IN LISTS lines)
            # Comments may talk about writing.
            if(line MATCHES "^[ \t]*//")
                continue()
            endif()
            foreach(pattern IN LISTS WRITE_PATTERNS)
                if(line MATCHES "${pattern}")
                    string(STRIP "${line}" shown)
                    list(APPEND found "${source}: ${shown}")
                    break()
                endif()
            endforeach()
        endforeach()
    endforeach()
    set(${out} "${found}" PARENT_SCOPE)
endfunction()

if(SELFTEST)
    # Each case: a line of code, and whether it is a write path outside the writer.
    set(cases
        "QSaveFile out(path)\;|1"
        "file.open(QIODevice::WriteOnly | QIODevice::NewOnly)\;|1"
        "file.open(QIODevice::ReadWrite)\;|1"
        "file.open(QIODevice::Append)\;|1"
        "QFile::copy(a, b)\;|1"
        "std::ofstream out(name)\;|1"
        "FILE* f = fopen(name, \"wb\")\;|1"
        "file.open(QIODevice::ReadOnly)\;|0"
        "FileOps::writeFile(path, bytes)\;|0"
        "// a QSaveFile would buffer|0")
    set(failed "")
    set(n 0)
    foreach(case IN LISTS cases)
        string(REGEX REPLACE "\\|([01])$" "" code "${case}")
        string(REGEX MATCH "[01]$" writes "${case}")
        math(EXPR n "${n} + 1")
        set(tree "${WORK}/case${n}")
        file(REMOVE_RECURSE "${tree}")
        file(WRITE "${tree}/sample/A.cpp" "void f() {\n    ${code}\n}\n")
        # The writer itself may write.
        file(WRITE "${tree}/${WRITER}" "QSaveFile file(path);\n")
        check_writes("${tree}" found)
        list(LENGTH found count)
        if((writes AND count EQUAL 0) OR (NOT writes AND count GREATER 0))
            list(APPEND failed "${code}")
        endif()
    endforeach()
    file(REMOVE_RECURSE "${WORK}")
    if(failed)
        list(JOIN failed "\n  " text)
        message(FATAL_ERROR "the writer check misjudged:\n  ${text}")
    endif()
    return()
endif()

if(NOT IS_DIRECTORY "${SRC}")
    message(FATAL_ERROR "no source folder given (-DSRC=...)")
endif()
check_writes("${SRC}" found)
if(found)
    list(JOIN found "\n  " text)
    message(FATAL_ERROR "files written outside FileOps and its writer:\n  ${text}")
endif()
