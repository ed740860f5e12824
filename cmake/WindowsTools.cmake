# SPDX-License-Identifier: GPL-3.0-or-later
# The tools on Windows, after Windows.cmake. Windows looks for a program's DLLs in its own folder
# only, so the tools live in the program folder beside Tickbell.exe and the one copy of the Qt and
# compiler runtime; plug\ holds small starters of the same names (packaging/windows/tool_starter.cpp)
# that need no DLL and run them. Tools and starters carry the program's icon, manifest and version
# resource, with the tool's name.
set(TICKBELL_TOOL_DESCRIPTIONS
    clocktool "时间校正" abacus "常规计算器" posmover "转仓计算器" ceilprice "涨停版计算" poweroff "快速关机")
while(TICKBELL_TOOL_DESCRIPTIONS)
    list(POP_FRONT TICKBELL_TOOL_DESCRIPTIONS TOOL_NAME TOOL_DESCRIPTION)
    set(rc ${CMAKE_BINARY_DIR}/generated/${TOOL_NAME}.rc)
    set(MANIFEST_NAME org.tickbell.Tickbell.${TOOL_NAME})
    set(MANIFEST_DESCRIPTION ${TOOL_DESCRIPTION})
    configure_file(${CMAKE_SOURCE_DIR}/packaging/windows/tickbell.manifest.in
        ${CMAKE_BINARY_DIR}/generated/${TOOL_NAME}.manifest @ONLY)
    configure_file(${CMAKE_SOURCE_DIR}/packaging/windows/tool.rc.in ${rc} @ONLY)
    set_property(SOURCE ${rc} APPEND PROPERTY OBJECT_DEPENDS
        ${CMAKE_BINARY_DIR}/generated/${TOOL_NAME}.manifest ${CMAKE_SOURCE_DIR}/packaging/windows/tickbell.ico)
    target_sources(${TOOL_NAME} PRIVATE ${rc})
    set_target_properties(${TOOL_NAME} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${TICKBELL_RUN_DIR})

    add_executable(${TOOL_NAME}_starter WIN32 ${CMAKE_SOURCE_DIR}/packaging/windows/tool_starter.cpp ${rc})
    set_target_properties(${TOOL_NAME}_starter PROPERTIES OUTPUT_NAME ${TOOL_NAME} AUTOMOC OFF
        RUNTIME_OUTPUT_DIRECTORY ${TICKBELL_RUN_DIR}/plug)
    target_link_libraries(${TOOL_NAME}_starter PRIVATE user32)
    if(MINGW)
        target_compile_options(${TOOL_NAME}_starter PRIVATE -municode)
        target_link_options(${TOOL_NAME}_starter PRIVATE -municode -static -s)
    endif()
    tickbell_warnings(${TOOL_NAME}_starter)
    install(TARGETS ${TOOL_NAME}_starter RUNTIME DESTINATION plug)
endwhile()

install(TARGETS ${TICKBELL_TOOLS} RUNTIME DESTINATION .)
