# Installs the build tree into a scratch root (DESTDIR, prefix /usr) and checks what landed
# there: exactly the programs, the desktop entry, the icons and the README, each usable.
#   cmake -DBUILD_DIR=<build> -DROOT=<scratch> -DICON_SIZES=16,32 -DDOC_DIR=share/doc/mxrf418
#         -P CheckInstall.cmake

cmake_minimum_required(VERSION 3.25)

set(problems)
macro(problem text)
    list(APPEND problems "${text}")
endmacro()

file(REMOVE_RECURSE "${ROOT}")
execute_process(
    COMMAND ${CMAKE_COMMAND} -E env DESTDIR=${ROOT} ${CMAKE_COMMAND} --install ${BUILD_DIR}
            --prefix /usr
    RESULT_VARIABLE result OUTPUT_QUIET ERROR_VARIABLE errors)
if(result)
    message(FATAL_ERROR "cmake --install failed: ${errors}")
endif()

set(usr "${ROOT}/usr")
set(expected bin/mxrf418 bin/mxrf418-cli bin/mxrf418-unit share/applications/mxrf418.desktop
             share/icons/hicolor/scalable/apps/mxrf418.svg ${DOC_DIR}/README.md)
string(REPLACE "," ";" sizes "${ICON_SIZES}")
foreach(size IN LISTS sizes)
    list(APPEND expected share/icons/hicolor/${size}x${size}/apps/mxrf418.png)
endforeach()

file(GLOB_RECURSE installed RELATIVE "${usr}" "${ROOT}/*")
foreach(path IN LISTS expected)
    if(NOT path IN_LIST installed)
        problem("missing: /usr/${path}")
    endif()
endforeach()
foreach(path IN LISTS installed)
    if(NOT path IN_LIST expected)
        problem("not expected: /usr/${path}")
    endif()
endforeach()

# The installed virtual unit runs on its own (no path into the build tree).
execute_process(COMMAND "${usr}/bin/mxrf418-unit" --help RESULT_VARIABLE result OUTPUT_QUIET
                ERROR_QUIET)
if(NOT result EQUAL 0)
    problem("/usr/bin/mxrf418-unit --help failed: ${result}")
endif()

# The installed command-line tool runs on its own and knows its commands.
execute_process(COMMAND "${usr}/bin/mxrf418-cli" --help RESULT_VARIABLE result
                OUTPUT_VARIABLE help ERROR_QUIET)
if(NOT result EQUAL 0 OR NOT help MATCHES "restore FILE")
    problem("/usr/bin/mxrf418-cli --help failed: ${result}")
endif()

# The desktop entry starts the installed program with the installed icon, filed under audio.
set(entry "${usr}/share/applications/mxrf418.desktop")
if(EXISTS "${entry}")
    file(STRINGS "${entry}" lines)
    foreach(line "[Desktop Entry]" "Type=Application" "Exec=mxrf418" "Icon=mxrf418"
                 "Categories=AudioVideo;Audio;")
        if(NOT line IN_LIST lines)
            problem("the desktop entry lacks the line ${line}")
        endif()
    endforeach()
    find_program(VALIDATE desktop-file-validate)
    if(VALIDATE)
        execute_process(COMMAND ${VALIDATE} "${entry}" RESULT_VARIABLE result
                        OUTPUT_VARIABLE report ERROR_VARIABLE report)
        if(result OR report)
            problem("desktop-file-validate: ${report}")
        endif()
    endif()
endif()

# Each picture is a PNG of its folder's size: the signature, then IHDR width and height.
foreach(size IN LISTS sizes)
    set(picture "${usr}/share/icons/hicolor/${size}x${size}/apps/mxrf418.png")
    if(NOT EXISTS "${picture}")
        continue()
    endif()
    file(READ "${picture}" head LIMIT 24 HEX)
    math(EXPR side "${size}" OUTPUT_FORMAT HEXADECIMAL)
    string(SUBSTRING "${side}" 2 -1 side)
    string(LENGTH "${side}" digits)
    math(EXPR padding "8 - ${digits}")
    string(REPEAT "0" ${padding} zeros)
    set(dimensions "${zeros}${side}${zeros}${side}")
    if(NOT head MATCHES "^89504e470d0a1a0a0000000d49484452${dimensions}$")
        problem("${size}x${size}/apps/mxrf418.png is not a ${size} x ${size} PNG")
    endif()
endforeach()

set(svg "${usr}/share/icons/hicolor/scalable/apps/mxrf418.svg")
if(EXISTS "${svg}")
    file(READ "${svg}" text)
    if(NOT text MATCHES "<svg[^>]*viewBox=\"0 0 128 128\"")
        problem("the scalable icon is not a square SVG")
    endif()
endif()

if(problems)
    list(JOIN problems "\n  " report)
    message(FATAL_ERROR "the installation is not right:\n  ${report}")
endif()
file(REMOVE_RECURSE "${ROOT}")
message(STATUS "installed and checked: ${expected}")
