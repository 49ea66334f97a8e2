# Small helpers shared by the folders' CMakeLists.

# q7_stage(<target-or-dependency> SOURCE <file> DEST <path below modules/>)
# Copies one runtime data file from the repository into build/bin/modules/.
function(q7_stage_files)
    cmake_parse_arguments(arg "" "DEST" "FILES" ${ARGN})
    foreach(f ${arg_FILES})
        get_filename_component(name ${f} NAME)
        set(out ${Q7_MODULES_DIR}/${arg_DEST}/${name})
        add_custom_command(OUTPUT ${out}
            COMMAND ${CMAKE_COMMAND} -E make_directory ${Q7_MODULES_DIR}/${arg_DEST}
            COMMAND ${CMAKE_COMMAND} -E copy_if_different ${f} ${out}
            DEPENDS ${f} VERBATIM)
        set_property(GLOBAL APPEND PROPERTY Q7_STAGED_OUTPUTS ${out})
    endforeach()
endfunction()

# Registers files that a generator writes below build/bin/modules/ so the staging target waits for them.
function(q7_register_staged)
    set_property(GLOBAL APPEND PROPERTY Q7_STAGED_OUTPUTS ${ARGN})
endfunction()

# q7_add_test(<name> SOURCES ... [LIBS ...] [GUI] [LABELS ...] [ENV ...])
# A Qt Test executable run by CTest in a home, runtime and temporary folder of its own.
# Without GUI it runs on the offscreen platform; with GUI on an X server of its own.
function(q7_add_test name)
    cmake_parse_arguments(arg "GUI" "TIMEOUT" "SOURCES;LIBS;LABELS;ENV" ${ARGN})
    add_executable(${name} ${arg_SOURCES})
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests/bin)
    target_link_libraries(${name} PRIVATE Qt6::Test ${arg_LIBS})
    set(display)
    if(arg_GUI)
        set(display --display)
    endif()
    add_test(NAME ${name} COMMAND ${Q7_ISOLATED_RUN} ${display} $<TARGET_FILE:${name}>)
    # GSETTINGS_BACKEND=memory keeps the pointer-settings code away from the desktop's real
    # settings; a test that wants a backend of its own passes it in ENV (later wins).
    set(env "QT_LOGGING_RULES=qt.qpa.*=false" "Q7_BUILD_BIN=${CMAKE_BINARY_DIR}/bin"
            "Q7_SOURCE_DIR=${PROJECT_SOURCE_DIR}" "GSETTINGS_BACKEND=memory" ${arg_ENV})
    if(NOT arg_GUI)
        list(APPEND env "QT_QPA_PLATFORM=offscreen")
    endif()
    if(NOT arg_TIMEOUT)
        set(arg_TIMEOUT 120)
    endif()
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "${env}" TIMEOUT ${arg_TIMEOUT}
        LABELS "${arg_LABELS}")
endfunction()
