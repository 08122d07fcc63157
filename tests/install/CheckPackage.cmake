cmake_minimum_required(VERSION 3.25)

# Builds the .deb from this build with scripts/package.sh and checks what it
# holds: the control fields a package manager needs and the installed tree
# under /usr. Installing it needs root and a fresh system, so that stays a
# manual check.
#
# Expects SOURCE_DIR, BUILD_DIR, OUTPUT, APP_ID, VERSION.

file(REMOVE_RECURSE ${OUTPUT})
execute_process(COMMAND bash ${SOURCE_DIR}/scripts/package.sh --build-dir ${BUILD_DIR}
    --output ${OUTPUT} RESULT_VARIABLE rc OUTPUT_VARIABLE deb ERROR_VARIABLE error
    OUTPUT_STRIP_TRAILING_WHITESPACE)
if(NOT rc EQUAL 0 OR NOT EXISTS "${deb}")
    message(FATAL_ERROR "scripts/package.sh failed (${rc}): ${error}")
endif()
if(NOT deb MATCHES "/huesplinter_${VERSION}_[a-z0-9]+\\.deb$")
    message(SEND_ERROR "unexpected package name ${deb}")
endif()

execute_process(COMMAND dpkg-deb --field ${deb} Package Version Depends
    OUTPUT_VARIABLE fields RESULT_VARIABLE rc)
message(STATUS "${fields}")
if(NOT rc EQUAL 0 OR NOT fields MATCHES "Package: huesplinter\n"
   OR NOT fields MATCHES "Version: ${VERSION}\n")
    message(SEND_ERROR "wrong control fields:\n${fields}")
endif()
foreach(dependency libqt6widgets6 libqt6gui6 libqt6core6 libqt6dbus6 libpng16-16 qt6-qpa-plugins qt6-wayland)
    if(NOT fields MATCHES "[ ,]${dependency}[ ,(\n]")
        message(SEND_ERROR "the package does not depend on ${dependency}")
    endif()
endforeach()

execute_process(COMMAND dpkg-deb --contents ${deb} OUTPUT_VARIABLE contents RESULT_VARIABLE rc)
foreach(file usr/bin/huesplinter usr/share/applications/${APP_ID}.desktop
        usr/share/metainfo/${APP_ID}.metainfo.xml
        usr/share/icons/hicolor/scalable/apps/${APP_ID}.svg
        usr/share/icons/hicolor/48x48/apps/${APP_ID}.png
        usr/share/man/man1/huesplinter.1.gz usr/share/bash-completion/completions/huesplinter)
    if(NOT contents MATCHES " \\./${file}\n")
        message(SEND_ERROR "the package lacks /${file}")
    endif()
endforeach()
if(contents MATCHES " \\./usr/local/")
    message(SEND_ERROR "the package installs under /usr/local")
endif()
