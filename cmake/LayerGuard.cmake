# SPDX-License-Identifier: GPL-3.0-or-later
# The core links Qt Core alone, but Qt Core's include path reaches Qt's root folder, where
# <QtWidgets/QLabel> resolves. So the core is compiled with a folder in front of Qt's that holds,
# for every header of every Qt module but Core, in every spelling (<QLabel>, <QtWidgets/QLabel>,
# <QtWidgets/qlabel.h>, <QtGui/QtGui>), a file that stops the compiler with a message; the
# compiler names the file that included it. (<QtGui> alone is found nowhere on the core's path.)
# nettime/ has a folder of its own that lets Qt Network through as well.
set(TICKBELL_LAYER_GUARD_DIR ${CMAKE_BINARY_DIR}/layer-guards)

# Qt's root include folder: the one that holds QtCore/.
function(tickbell__qt_include_root out)
    get_target_property(dirs Qt6::Core INTERFACE_INCLUDE_DIRECTORIES)
    foreach(dir IN LISTS dirs)
        if(dir MATCHES "^(.*)/QtCore$" AND IS_DIRECTORY "${dir}")
            set(${out} ${CMAKE_MATCH_1} PARENT_SCOPE)
            return()
        endif()
    endforeach()
    message(FATAL_ERROR "Qt Core's include folder not found: the layer guard cannot be made")
endfunction()
tickbell__qt_include_root(TICKBELL_QT_INCLUDE_ROOT)

# The guard folder of the layer `name`, which may include the Qt modules `allowed` (Core, ...).
function(tickbell__write_layer_guard name what)
    set(allowed ${ARGN})
    set(guard ${TICKBELL_LAYER_GUARD_DIR}/${name})
    set(stamp ${guard}/.made-for-qt-${Qt6_VERSION})
    if(EXISTS ${stamp})
        return()
    endif()
    file(REMOVE_RECURSE ${guard})
    list(JOIN allowed " and " allowed_text)
    file(GLOB modules LIST_DIRECTORIES true RELATIVE ${TICKBELL_QT_INCLUDE_ROOT} ${TICKBELL_QT_INCLUDE_ROOT}/Qt*)
    foreach(module_dir IN LISTS modules)
        string(REGEX REPLACE "^Qt" "" module ${module_dir})
        if(NOT IS_DIRECTORY ${TICKBELL_QT_INCLUDE_ROOT}/${module_dir} OR module IN_LIST allowed)
            continue()
        endif()
        set(message "#error \"Qt ${module} in ${what}, which is Qt ${allowed_text} only: a window belongs in ui/ or widgets/, the system's services in platform/ or system/\"\n")
        file(GLOB headers LIST_DIRECTORIES false RELATIVE ${TICKBELL_QT_INCLUDE_ROOT}/${module_dir}
             ${TICKBELL_QT_INCLUDE_ROOT}/${module_dir}/*)
        foreach(header IN LISTS headers)
            file(WRITE ${guard}/${module_dir}/${header} "${message}")
            # <QtGui> itself: a folder of that name stands here, and the core's path finds none.
            if(NOT header STREQUAL module_dir)
                file(WRITE ${guard}/${header} "${message}")
            endif()
        endforeach()
    endforeach()
    file(WRITE ${stamp} "")
endfunction()
tickbell__write_layer_guard(core "the core" Core)
tickbell__write_layer_guard(nettime "nettime" Core Network)

function(tickbell_guard_qt_core_only target)
    target_include_directories(${target} BEFORE PRIVATE ${TICKBELL_LAYER_GUARD_DIR}/core)
endfunction()

# Compiles target with its guard in front of Qt's headers, and its headers each at least once
# (a header no source of the target includes is checked too).
function(tickbell__sweep_headers target)
    get_target_property(sources ${target} SOURCES)
    get_target_property(folder ${target} SOURCE_DIR)
    set(text "// Generated: every header of ${target}, compiled behind the layer guard.\n")
    foreach(source IN LISTS sources)
        if(source MATCHES "\\.h$")
            file(RELATIVE_PATH header ${PROJECT_SOURCE_DIR} ${folder}/${source})
            string(APPEND text "#include \"${header}\"\n")
        endif()
    endforeach()
    set(all ${CMAKE_CURRENT_BINARY_DIR}/${target}_headers.cpp)
    file(CONFIGURE OUTPUT ${all} CONTENT "${text}")
    target_sources(${target} PRIVATE ${all})
endfunction()

function(tickbell_core_only target)
    tickbell_guard_qt_core_only(${target})
    tickbell__sweep_headers(${target})
endfunction()

# nettime: Qt Core and Qt Network, nothing else.
function(tickbell_guard_qt_core_and_network_only target)
    target_include_directories(${target} BEFORE PRIVATE ${TICKBELL_LAYER_GUARD_DIR}/nettime)
endfunction()

function(tickbell_core_and_network_only target)
    tickbell_guard_qt_core_and_network_only(${target})
    tickbell__sweep_headers(${target})
endfunction()
