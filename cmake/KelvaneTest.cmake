# kelvane_add_test(NAME tst_x SOURCES a.cpp ... LIBS lib ...)
# Builds one Qt Test program and registers it with CTest on the offscreen platform.
add_custom_target(check COMMAND ${CMAKE_CTEST_COMMAND} --output-on-failure WORKING_DIRECTORY ${CMAKE_BINARY_DIR})

function(kelvane_add_test)
    cmake_parse_arguments(T "" "NAME" "SOURCES;LIBS" ${ARGN})
    add_executable(${T_NAME} ${T_SOURCES})
    target_link_libraries(${T_NAME} PRIVATE kelvane_options kelvane_test_support Qt6::Test ${T_LIBS})
    # Tests may write plain string literals for QString (table rows read better); other casts stay banned.
    target_compile_options(${T_NAME} PRIVATE -UQT_NO_CAST_FROM_ASCII -DQT_RESTRICTED_CAST_FROM_ASCII)
    set_target_properties(${T_NAME} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
    add_test(NAME ${T_NAME} COMMAND ${T_NAME})
    set_tests_properties(${T_NAME} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QT_LOGGING_RULES=qt.qpa.*=false"
                                              TIMEOUT 300)
    add_dependencies(check ${T_NAME})
endfunction()

# Every user-visible text must reach translators: when lupdate is installed, a test runs it over the
# sources and fails on a text without a translation context, or a counted text without its English forms.
find_program(KELVANE_LUPDATE NAMES lupdate lupdate-qt6 HINTS /usr/lib/qt6/bin)
if(KELVANE_LUPDATE)
    add_test(NAME translatable_texts COMMAND bash ${CMAKE_SOURCE_DIR}/tools/check-translations.sh ${KELVANE_LUPDATE}
                                             ${CMAKE_SOURCE_DIR}/src ${CMAKE_SOURCE_DIR}/translations/kelvane_en.ts)
endif()
