# SPDX-License-Identifier: GPL-3.0-or-later
# The tools in plug/ on Windows, after Windows.cmake: each with the program's icon and a version,
# and beside them the same Qt and compiler runtime as beside Tickbell.exe, because Windows looks
# for a program's DLLs in its own folder and not in the one above. A qt.conf sends Qt to the
# program folder's plugins and translations.
set(TICKBELL_TOOL_DESCRIPTIONS
    clocktool "时间校正" abacus "常规计算器" posmover "转仓计算器" ceilprice "涨停版计算" poweroff "快速关机")
while(TICKBELL_TOOL_DESCRIPTIONS)
    list(POP_FRONT TICKBELL_TOOL_DESCRIPTIONS TOOL_NAME TOOL_DESCRIPTION)
    configure_file(${CMAKE_SOURCE_DIR}/packaging/windows/tool.rc.in ${CMAKE_BINARY_DIR}/generated/${TOOL_NAME}.rc @ONLY)
    target_sources(${TOOL_NAME} PRIVATE ${CMAKE_BINARY_DIR}/generated/${TOOL_NAME}.rc)
endwhile()

set(plug_qt_conf ${CMAKE_SOURCE_DIR}/packaging/windows/plug-qt.conf)
add_custom_target(tickbell_tools_runtime ALL
    COMMAND ${CMAKE_COMMAND} -E make_directory ${TICKBELL_RUN_DIR}/plug
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${TICKBELL_WINDOWS_DLLS} ${TICKBELL_RUN_DIR}/plug
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${plug_qt_conf} ${TICKBELL_RUN_DIR}/plug/qt.conf
    VERBATIM)

install(TARGETS ${TICKBELL_TOOLS} RUNTIME DESTINATION plug)
install(FILES ${TICKBELL_WINDOWS_DLLS} DESTINATION plug)
install(FILES ${plug_qt_conf} DESTINATION plug RENAME qt.conf)
