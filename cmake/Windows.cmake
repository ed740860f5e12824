# SPDX-License-Identifier: GPL-3.0-or-later
# The Windows program: Tickbell.exe, and beside it (in bin/, and in tests/bin/ for the tests)
# what it needs to run: the Qt and compiler runtime DLLs and Qt's plugins, as in the zip.
set_target_properties(tickbell PROPERTIES OUTPUT_NAME Tickbell WIN32_EXECUTABLE ON)
# Who makes it, as the version resources and the uninstall entry say.
set(TICKBELL_PUBLISHER "Tickbell 项目组")
set(TICKBELL_COPYRIGHT "Copyright © 2026 Tickbell 项目组")
set(TICKBELL_HOMEPAGE "http://www.tickbell.org/")
set(MANIFEST_NAME org.tickbell.Tickbell)
set(MANIFEST_DESCRIPTION Tickbell)
configure_file(${CMAKE_SOURCE_DIR}/packaging/windows/tickbell.manifest.in ${CMAKE_BINARY_DIR}/generated/tickbell.manifest @ONLY)
configure_file(${CMAKE_SOURCE_DIR}/packaging/windows/tickbell.rc.in ${CMAKE_BINARY_DIR}/generated/tickbell.rc @ONLY)
target_sources(tickbell PRIVATE ${CMAKE_BINARY_DIR}/generated/tickbell.rc)
set_property(SOURCE ${CMAKE_BINARY_DIR}/generated/tickbell.rc APPEND PROPERTY OBJECT_DEPENDS
    ${CMAKE_BINARY_DIR}/generated/tickbell.manifest ${CMAKE_SOURCE_DIR}/packaging/windows/tickbell.ico)

# The installer's helper: it runs alone from the installer's temporary folder, so it needs no DLL.
add_executable(setup_helper WIN32 ${CMAKE_SOURCE_DIR}/packaging/windows/setup_helper.cpp)
set_target_properties(setup_helper PROPERTIES OUTPUT_NAME setup-helper AUTOMOC OFF
    RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/packaging)
target_link_libraries(setup_helper PRIVATE shell32 user32 advapi32 userenv)
if(MINGW)
    target_compile_options(setup_helper PRIVATE -municode)
    target_link_options(setup_helper PRIVATE -municode -static -s)
endif()
tickbell_warnings(setup_helper)
set(TICKBELL_SETUP_HELPER ${CMAKE_BINARY_DIR}/packaging/setup-helper.exe)
configure_file(${CMAKE_SOURCE_DIR}/packaging/windows/product.nsh.in ${CMAKE_BINARY_DIR}/generated/product.nsh @ONLY)

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
            if(IS_ABSOLUTE "${path}" AND EXISTS "${path}")
                list(APPEND TICKBELL_WINDOWS_DLLS ${path})
            else()
                message(STATUS "${dll} not found beside the compiler: copy it beside Tickbell.exe (windeployqt does)")
            endif()
        endif()
    endforeach()
endif()
set(TICKBELL_WINDOWS_PLATFORM_PLUGINS $<TARGET_FILE:Qt6::QWindowsIntegrationPlugin>)
set(TICKBELL_WINDOWS_STYLE_PLUGINS $<TARGET_FILE:Qt6::QWindowsVistaStylePlugin>)

# Qt's own texts (message boxes, the file dialog) in Chinese: from the Qt installation, or in the
# cross build Debian's translations of the same Qt version, which serve every platform.
find_file(TICKBELL_QTBASE_ZH_CN qtbase_zh_CN.qm
    PATHS ${QT6_INSTALL_PREFIX}/translations /usr/share/qt6/translations NO_CMAKE_FIND_ROOT_PATH)

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
if(TICKBELL_QTBASE_ZH_CN)
    list(APPEND deploy_commands
        COMMAND ${CMAKE_COMMAND} -E make_directory ${TICKBELL_RUN_DIR}/translations
        COMMAND ${CMAKE_COMMAND} -E copy_if_different ${TICKBELL_QTBASE_ZH_CN} ${TICKBELL_RUN_DIR}/translations)
endif()
add_custom_target(tickbell_windows_runtime ALL ${deploy_commands} VERBATIM)

# The program folder of the zip and the installer (cmake --install --prefix FOLDER): everything
# beside Tickbell.exe, as in bin/.
install(TARGETS tickbell RUNTIME DESTINATION .)
install(FILES ${TICKBELL_WINDOWS_DLLS} DESTINATION .)
install(FILES ${TICKBELL_WINDOWS_PLATFORM_PLUGINS} DESTINATION platforms)
install(FILES ${TICKBELL_WINDOWS_STYLE_PLUGINS} DESTINATION styles)
if(TICKBELL_QTBASE_ZH_CN)
    install(FILES ${TICKBELL_QTBASE_ZH_CN} DESTINATION translations)
endif()
foreach(file IN LISTS TICKBELL_ASSET_FILES)
    get_filename_component(subdir ${file} DIRECTORY)
    install(FILES ${CMAKE_SOURCE_DIR}/assets/${file} DESTINATION ./${subdir})
endforeach()
install(FILES ${CMAKE_SOURCE_DIR}/LICENSE DESTINATION . RENAME LICENSE.txt)
install(FILES ${CMAKE_SOURCE_DIR}/packaging/windows/README-windows.txt DESTINATION . RENAME README.txt)
