# SPDX-License-Identifier: GPL-3.0-or-later
# cmake -DBUILD_DIR=... -DPROBES="target=message regex;..." -DPYTHON=... -DSOURCE_DIR=...
#       -DQT_INCLUDE_ROOT=... -P try_probes.cmake
# Each probe target must fail to build, saying its guard's message; and every #include of the
# libraries must keep the README's table (check_includes.py).
set(failed "")
foreach(probe IN LISTS PROBES)
    string(FIND "${probe}" "=" at)
    string(SUBSTRING "${probe}" 0 ${at} target)
    math(EXPR at "${at} + 1")
    string(SUBSTRING "${probe}" ${at} -1 expected)
    execute_process(COMMAND ${CMAKE_COMMAND} --build ${BUILD_DIR} --target ${target}
        RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
    if(status EQUAL 0)
        string(APPEND failed "${target} compiled: its guard let it through\n")
    elseif(NOT "${out}${err}" MATCHES "${expected}")
        string(APPEND failed "${target} failed without the guard's message /${expected}/:\n${out}${err}\n")
    else()
        message(STATUS "${target}: refused, as it should be")
    endif()
endforeach()
execute_process(COMMAND ${PYTHON} ${CMAKE_CURRENT_LIST_DIR}/check_includes.py ${SOURCE_DIR} ${QT_INCLUDE_ROOT}
    RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
message(STATUS "${out}${err}")
if(NOT status EQUAL 0)
    string(APPEND failed "#include lines break the README's table of the layers:\n${out}${err}\n")
endif()
if(failed)
    message(FATAL_ERROR "${failed}")
endif()
