# Keeps the Windows back ends compiling on this Linux build: target check_windows_sources runs
# the mingw-w64 cross compiler in syntax-only mode over every Windows-only source and every
# shared source with a Windows branch, against the distribution's Qt headers and with the
# project's warning flags. Qt for Windows is not packaged here, so nothing is linked or run.

find_program(Q7_MINGW_CXX NAMES x86_64-w64-mingw32-g++-posix x86_64-w64-mingw32-g++
    DOC "mingw-w64 C++ cross compiler for the Windows syntax check")
set(Q7_WINDOWS_CHECK_DIR ${CMAKE_BINARY_DIR}/windows-check)
set(Q7_WINDOWS_CHECK_SCRIPT ${CMAKE_CURRENT_LIST_DIR}/check-windows-source.cmake)

# q7_windows_sources(<target> <files>...)
# Sources <target> is built from only on Windows. Elsewhere they are kept on the target so the
# check compiles them with its include paths and definitions.
function(q7_windows_sources target)
    if(WIN32)
        target_sources(${target} PRIVATE ${ARGN})
        return()
    endif()
    foreach(file ${ARGN})
        get_filename_component(path ${file} ABSOLUTE)
        set_property(TARGET ${target} APPEND PROPERTY Q7_WINDOWS_ONLY_SOURCES ${path})
    endforeach()
endfunction()

function(_q7_targets_below dir out)
    get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
    get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
    foreach(sub ${subdirs})
        _q7_targets_below(${sub} more)
        list(APPEND targets ${more})
    endforeach()
    set(${out} ${targets} PARENT_SCOPE)
endfunction()

# The sources of <target> that the check covers: its Windows-only ones, and those of its own
# sources (not generated ones) that test for Windows.
function(_q7_windows_check_files target out)
    get_target_property(files ${target} Q7_WINDOWS_ONLY_SOURCES)
    if(NOT files)
        set(files)
    endif()
    get_target_property(sources ${target} SOURCES)
    get_target_property(dir ${target} SOURCE_DIR)
    foreach(source ${sources})
        if(source MATCHES "^\\$<")
            continue()
        endif()
        get_filename_component(path ${source} ABSOLUTE BASE_DIR ${dir})
        cmake_path(IS_PREFIX CMAKE_BINARY_DIR ${path} NORMALIZE generated)
        if(generated OR NOT path MATCHES "\\.(cpp|h)$" OR NOT EXISTS ${path})
            continue()
        endif()
        file(STRINGS ${path} windows_branch REGEX "Q_OS_WIN|_WIN32|_WIN64" LIMIT_COUNT 1)
        if(windows_branch)
            list(APPEND files ${path})
        endif()
    endforeach()
    set(${out} ${files} PARENT_SCOPE)
endfunction()

# Called once at the end of the top-level CMakeLists, when every target and its sources exist.
function(q7_add_windows_check)
    if(WIN32)
        return()
    endif()
    if(NOT Q7_MINGW_CXX)
        message(STATUS "mingw-w64 not found: target check_windows_sources not available")
        return()
    endif()
    _q7_targets_below(${CMAKE_SOURCE_DIR} targets)
    set(checked)
    set(stamps)
    set(owners)
    foreach(target ${targets})
        get_target_property(type ${target} TYPE)
        if(NOT type MATCHES "^(STATIC_LIBRARY|SHARED_LIBRARY|MODULE_LIBRARY|OBJECT_LIBRARY|EXECUTABLE)$")
            continue()
        endif()
        _q7_windows_check_files(${target} files)
        list(REMOVE_ITEM files ${checked})
        if(NOT files)
            continue()
        endif()
        list(APPEND owners ${target})
        # Bracket arguments: definitions may carry quotes (a path given to a test, say).
        set(flags ${Q7_WINDOWS_CHECK_DIR}/${target}.cmake)
        file(GENERATE OUTPUT ${flags} CONTENT
"set(COMPILER [==[${Q7_MINGW_CXX}]==])
set(STANDARD [==[c++${CMAKE_CXX_STANDARD}]==])
set(OPTIONS [==[$<TARGET_PROPERTY:${target},COMPILE_OPTIONS>]==])
set(DEFINES [==[$<TARGET_PROPERTY:${target},COMPILE_DEFINITIONS>]==])
set(INCLUDES [==[$<TARGET_PROPERTY:${target},INCLUDE_DIRECTORIES>]==])
set(PROJECT_DIRS [==[${CMAKE_SOURCE_DIR};${CMAKE_BINARY_DIR}]==])
")
        foreach(file ${files})
            file(RELATIVE_PATH name ${CMAKE_SOURCE_DIR} ${file})
            set(stamp ${Q7_WINDOWS_CHECK_DIR}/${name}.stamp)
            add_custom_command(OUTPUT ${stamp}
                COMMAND ${CMAKE_COMMAND} -DFLAGS_FILE=${flags} -DSOURCE=${file}
                        -DSTAMP=${stamp} -DDEPFILE=${stamp}.d -P ${Q7_WINDOWS_CHECK_SCRIPT}
                DEPENDS ${file} ${flags} ${Q7_WINDOWS_CHECK_SCRIPT}
                DEPFILE ${stamp}.d
                COMMENT "Compiling ${name} for Windows (syntax only)"
                VERBATIM)
            list(APPEND stamps ${stamp})
            list(APPEND checked ${file})
        endforeach()
    endforeach()
    if(NOT checked)
        return()
    endif()
    list(JOIN checked "\n" listing)
    file(GENERATE OUTPUT ${Q7_WINDOWS_CHECK_DIR}/sources.txt CONTENT "${listing}\n")
    add_custom_target(check_windows_sources DEPENDS ${stamps})
    # Sources generated for these targets (headers among them) exist once they are built.
    add_dependencies(check_windows_sources ${owners})
endfunction()
