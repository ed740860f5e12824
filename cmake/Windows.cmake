# SPDX-License-Identifier: GPL-3.0-or-later
# The Windows program: Tickbell.exe, and beside it (in bin/, and in tests/bin/ for the tests)
# what it needs to run: the Qt and compiler runtime DLLs and Qt's plugins, as in the zip.
set_target_properties(tickbell PROPERTIES OUTPUT_NAME Tickbell WIN32_EXECUTABLE ON)

set(TICKBELL_WINDOWS_DLLS
    $<TARGET_FILE:Qt6::Core> $<TARGET_FILE:Qt6::Gui> $<TARGET_FILE:Qt6::Widgets> $<TARGET_FILE:Qt6::Network>)
if(MINGW)
    # The compiler's own runtime; a Qt built for this toolchain keeps stripped copies beside it.
    foreach(dll IN ITEMS libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
        if(EXISTS ${QT6_INSTALL_PREFIX}/runtime/${dll})
            list(APPEND TICKBELL_WINDOWS_DLLS ${QT6_INSTALL_PREFIX}/runtime/${dll})
        else()
            execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
                OUTPUT_VARIABLE path OUTPUT_STRIP_TRAILING_WHITESPACE)
            list(APPEND TICKBELL_WINDOWS_DLLS ${path})
        endif()
    endforeach()
endif()
set(TICKBELL_WINDOWS_PLATFORM_PLUGINS $<TARGET_FILE:Qt6::QWindowsIntegrationPlugin>)
set(TICKBELL_WINDOWS_STYLE_PLUGINS $<TARGET_FILE:Qt6::QWindowsVistaStylePlugin>)

set(deploy_commands)
foreach(dir IN ITEMS ${TICKBELL_RUN_DIR} ${CMAKE_BINARY_DIR}/tests/bin)
    list(APPEND deploy_commands
        COMMAND ${CMAKE_COMMAND} -E make_directory ${dir}/platforms ${dir}/styles
        COMMAND ${CMAKE_COMMAND} -E copy_if_different ${TICKBELL_WINDOWS_DLLS} ${dir}
        COMMAND ${CMAKE_COMMAND} -E copy_if_different ${TICKBELL_WINDOWS_PLATFORM_PLUGINS} ${dir}/platforms
        COMMAND ${CMAKE_COMMAND} -E copy_if_different ${TICKBELL_WINDOWS_STYLE_PLUGINS} ${dir}/styles)
endforeach()
# The tests also run offscreen, and QtTest is theirs alone.
find_package(Qt6 REQUIRED COMPONENTS Test)
list(APPEND deploy_commands
    COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:Qt6::QOffscreenIntegrationPlugin>
        ${CMAKE_BINARY_DIR}/tests/bin/platforms
    COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:Qt6::Test> ${CMAKE_BINARY_DIR}/tests/bin)
add_custom_target(tickbell_windows_runtime ALL ${deploy_commands} VERBATIM)
