# Helpers every folder uses, so that warnings, include paths and test registration stay alike.

# tb_library(name SOURCES ... [LIBS ...] [PRIVATE_LIBS ...])
# One static library per folder; includes are rooted at the top of the tree
# ("framework/base/TBString.h").
function(tb_library name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS;PRIVATE_LIBS" ${ARGN})
    if(NOT ARG_SOURCES)
        # A folder of headers only, so far.
        add_library(${name} INTERFACE)
        target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR})
        target_link_libraries(${name} INTERFACE ${ARG_LIBS})
        return()
    endif()
    add_library(${name} STATIC ${ARG_SOURCES})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${ARG_LIBS} PRIVATE ${ARG_PRIVATE_LIBS})
    tb_warnings(${name})
endfunction()

function(tb_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
    # GCC 12 at -O3 reports overlapping copies inside std::string's own concatenation that
    # cannot happen (its bug 105329); the release build would otherwise fail on library code.
    if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
        target_compile_options(${target} PRIVATE -Wno-restrict)
    endif()
    # The class library's frames hide their base's Create on purpose, as their originals do; a
    # using-declaration would make the short calls ambiguous.
    if(CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
        target_compile_options(${target} PRIVATE -Wno-overloaded-virtual)
    endif()
endfunction()

# tb_test_program(name SOURCES ... LIBS ... [ENVIRONMENT VAR=value ...])
# One GoogleTest program per test folder; each test case becomes its own CTest entry.
# ENVIRONMENT adds to the environment every test of the program runs with.
function(tb_test_program name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS;ENVIRONMENT" ${ARGN})
    if(NOT ARG_SOURCES)
        return()
    endif()
    add_executable(${name} ${ARG_SOURCES})
    # Tests find their data files and write screenshots through these.
    target_compile_definitions(${name} PRIVATE
        TB_SOURCE_DIR="${PROJECT_SOURCE_DIR}" TB_BINARY_DIR="${PROJECT_BINARY_DIR}")
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/tests)
    # Every test program fails a test in which a dialog opens inside a server line's handler.
    if(NOT TARGET tb_test_checks)
        add_library(tb_test_checks OBJECT ${PROJECT_SOURCE_DIR}/tests/common/ModalInLineCheck.cpp)
        target_link_libraries(tb_test_checks PUBLIC platform_win GTest::gtest)
        tb_warnings(tb_test_checks)
    endif()
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} tb_test_checks rapidcheck GTest::gmock GTest::gtest_main)
    tb_warnings(${name})
    include(GoogleTest)
    set(environment "QT_QPA_PLATFORM=offscreen" ${ARG_ENVIRONMENT})
    gtest_discover_tests(${name}
        DISCOVERY_MODE PRE_TEST
        DISCOVERY_TIMEOUT 60
        PROPERTIES TIMEOUT 300 ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
    if(ARG_ENVIRONMENT)
        # Discovery flattens a list-valued property, so the whole environment is set on the
        # discovered tests afterwards, by a script CTest reads after their list.
        set(script "${CMAKE_CURRENT_BINARY_DIR}/${name}_environment.cmake")
        file(WRITE "${script}" "foreach(test IN LISTS ${name}_TESTS)\n"
                               "    set_tests_properties(\"\${test}\" PROPERTIES ENVIRONMENT \"${environment}\")\n"
                               "endforeach()\n")
        set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES "${script}")
    endif()
    # The whole program once more, twice over in a random order: a test that leans on state an
    # earlier one left behind fails here.
    add_test(NAME ${name}.repeated_shuffled COMMAND ${name} --gtest_repeat=2 --gtest_shuffle --gtest_brief=1)
    set_tests_properties(${name}.repeated_shuffled PROPERTIES TIMEOUT 900 ENVIRONMENT "${environment}")
endfunction()
