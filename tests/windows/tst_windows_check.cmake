# Drives the Windows syntax check the way the build does, with a real target's flags:
#  - clean Windows code passes, as a source and as a header, so the failures below are the
#    samples' own and not a broken command;
#  - an error or a warning inside a Windows branch fails and leaves no stamp behind;
#  - every source in the tree written for Windows is on the list the build checks.
cmake_minimum_required(VERSION 3.25)
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})

function(expect_check outcome name content)
    set(sample ${WORK_DIR}/${name})
    set(stamp ${sample}.stamp)
    file(WRITE ${sample} "${content}")
    # A stamp from an earlier good run must not survive a failure.
    file(TOUCH ${stamp})
    execute_process(
        COMMAND ${CMAKE_COMMAND} -DFLAGS_FILE=${FLAGS_FILE} -DSOURCE=${sample} -DSTAMP=${stamp}
                -DDEPFILE=${stamp}.d -P ${CHECK_SCRIPT}
        RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
    if(outcome STREQUAL "passes")
        if(NOT result EQUAL 0 OR NOT EXISTS ${stamp})
            message(SEND_ERROR "${name} should compile for Windows:\n${output}")
        endif()
    else()
        if(result EQUAL 0)
            message(SEND_ERROR "${name} should fail the Windows check, but passed")
        elseif(EXISTS ${stamp})
            message(SEND_ERROR "${name} failed but its stamp was left behind")
        elseif(NOT output MATCHES "${outcome}")
            message(SEND_ERROR "${name} failed without the expected '${outcome}':\n${output}")
        endif()
    endif()
endfunction()

# The light prologue keeps the failing samples quick; the clean one pulls in Qt's heavier
# headers next to windows.h, as the program's sources do.
set(prologue "#include <QtGlobal>\n#ifdef Q_OS_WIN\n#include <windows.h>\n#endif\n")
set(clean_body [=[
bool broadcastIdle() {
#ifdef Q_OS_WIN
    return PostMessageW(HWND_BROADCAST, WM_NULL, 0, 0) != 0;
#else
    return false;
#endif
}
]=])
# Both faults sit where only a Windows compile looks, so they also prove the branch is taken.
set(error_body [=[
bool broadcastIdle() {
#ifdef Q_OS_WIN
    return PostMessageW(HWND_BROADCAST, WM_NULL, 0) != 0;
#else
    return false;
#endif
}
]=])
set(warning_body [=[
bool broadcastIdle() {
#ifdef Q_OS_WIN
    const DWORD lastError = GetLastError();
#endif
    return false;
}
]=])

expect_check(passes Clean.cpp "#include <QCoreApplication>\n${prologue}${clean_body}")
expect_check(passes Clean.h "#pragma once\n${prologue}inline ${clean_body}")
expect_check("error: too few arguments" Broken.cpp "${prologue}${error_body}")
expect_check("error: too few arguments" Broken.h "#pragma once\n${prologue}inline ${error_body}")
expect_check("unused-variable" Warning.cpp "${prologue}${warning_body}")

# A Windows file listed outside the helper (a plain target_sources in if(WIN32), say) would
# never be compiled here.
file(STRINGS ${CHECKED_LIST} checked)
file(GLOB_RECURSE tree ${SOURCE_DIR}/*.cpp ${SOURCE_DIR}/*.h)
foreach(file ${tree})
    if(file MATCHES "^${SOURCE_DIR}/build[^/]*/")
        continue()
    endif()
    file(STRINGS ${file} windows REGEX "Q_OS_WIN|_WIN32|_WIN64|<windows\\.h>" LIMIT_COUNT 1)
    if(windows AND NOT file IN_LIST checked)
        message(SEND_ERROR "${file} is written for Windows but not checked: list it with "
                           "q7_windows_sources() in its folder's CMakeLists.txt")
    endif()
endforeach()
