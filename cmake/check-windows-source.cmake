# cmake -DFLAGS_FILE=<target's flags> -DSOURCE=<file> -DSTAMP=<file> [-DDEPFILE=<file>]
#       -P check-windows-source.cmake
# Compiles one source or header for Windows, syntax only. STAMP is written only when it
# compiles without a warning, so a failed file is tried again on the next run.
cmake_minimum_required(VERSION 3.25)
include(${FLAGS_FILE})
file(REMOVE ${STAMP})
get_filename_component(stamp_dir ${STAMP} DIRECTORY)
file(MAKE_DIRECTORY ${stamp_dir})

set(args -std=${STANDARD} -fsyntax-only)
# Only the warnings carry over; the other options (position-independent code, sanitizers)
# belong to this Linux build.
foreach(option IN LISTS OPTIONS)
    if(option MATCHES "^-W")
        list(APPEND args ${option})
    endif()
endforeach()
foreach(define IN LISTS DEFINES)
    # Q7_HAVE_* name the Linux libraries this build found; a Windows build has none of them.
    # Empty entries are what per-configuration definitions leave in the other configurations.
    if(NOT define STREQUAL "" AND NOT define MATCHES "^Q7_HAVE_")
        list(APPEND args -D${define})
    endif()
endforeach()
list(REMOVE_DUPLICATES INCLUDES)
foreach(dir IN LISTS INCLUDES)
    # This system's C library in /usr/include would shadow the cross compiler's own, the
    # linux-g++ mkspec describes the wrong compiler, and the Linux back ends' folders are not
    # on a Windows build's path.
    if(dir STREQUAL "" OR dir STREQUAL "/usr/include" OR dir MATCHES "/mkspecs/|/linux$")
        continue()
    endif()
    set(own FALSE)
    foreach(root IN LISTS PROJECT_DIRS)
        cmake_path(IS_PREFIX root ${dir} NORMALIZE inside)
        if(inside)
            set(own TRUE)
        endif()
    endforeach()
    # Warnings inside Qt's headers are not ours to fix.
    if(own)
        list(APPEND args -I${dir})
    else()
        list(APPEND args -isystem ${dir})
    endif()
endforeach()
if(DEPFILE)
    list(APPEND args -MD -MF ${DEPFILE} -MT ${STAMP})
endif()

set(unit ${SOURCE})
if(SOURCE MATCHES "\\.h$")
    # Compiled on its own a header would warn that it is the main file of its #pragma once.
    set(unit ${STAMP}.cpp)
    file(WRITE ${unit} "#include \"${SOURCE}\"\n")
endif()
execute_process(COMMAND ${COMPILER} ${args} -x c++ ${unit} RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "${SOURCE} does not compile for Windows")
endif()
file(TOUCH ${STAMP})
