# SPDX-License-Identifier: GPL-3.0-or-later
function(tickbell_warnings target)
    target_compile_options(${target} PRIVATE
        -Wall -Wextra -Wpedantic -Wshadow -Wold-style-cast -Wnon-virtual-dtor -Woverloaded-virtual)
    if(TICKBELL_WERROR)
        target_compile_options(${target} PRIVATE -Werror)
    endif()
    # Keep string handling explicit: no implicit const char* <-> QString conversions.
    target_compile_definitions(${target} PRIVATE QT_NO_CAST_FROM_ASCII QT_NO_CAST_TO_ASCII
        QT_NO_NARROWING_CONVERSIONS_IN_CONNECT QT_USE_QSTRINGBUILDER)
endfunction()
