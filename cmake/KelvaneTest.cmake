# kelvane_add_test(NAME tst_x SOURCES a.cpp ... LIBS lib ...)
# Builds one Qt Test program and registers it with CTest on the offscreen platform.
add_custom_target(check COMMAND ${CMAKE_CTEST_COMMAND} --output-on-failure WORKING_DIRECTORY ${CMAKE_BINARY_DIR})

# The flags every suite compiles with. Tests may write plain string literals for QString (table rows read
# better); other casts stay banned. No suite looks for test data by path, so the per-folder test data
# defines are dropped: with them, no two folders could share the precompiled header below.
function(kelvane_test_flags target)
    target_link_libraries(${target} PRIVATE kelvane_options Qt6::Widgets Qt6::Test)
    target_compile_options(${target} PRIVATE -UQT_NO_CAST_FROM_ASCII -DQT_RESTRICTED_CAST_FROM_ASCII
                                             -UQT_TESTCASE_BUILDDIR -UQT_TESTCASE_SOURCEDIR)
endfunction()

# The Qt classes the suites use most, parsed once into a header every suite shares: a suite compiles in
# about half the time. The compiler checks that a suite's flags match before it uses the header.
add_library(kelvane_test_pch STATIC ${CMAKE_SOURCE_DIR}/tests/support/precompiled.cpp)
kelvane_test_flags(kelvane_test_pch)
target_precompile_headers(kelvane_test_pch PRIVATE <QTest> <QSignalSpy> <QApplication> <QPushButton> <QLineEdit>
                          <QLabel> <QComboBox> <QTableView> <QVBoxLayout> <QHBoxLayout> <QGridLayout> <QCheckBox>
                          <QGroupBox> <QHeaderView> <QDir> <QFile> <QFileInfo> <QDate> <QTemporaryDir> <QString>
                          <QStringList> <QList> <QHash>)

function(kelvane_add_test)
    cmake_parse_arguments(T "" "NAME" "SOURCES;LIBS" ${ARGN})
    add_executable(${T_NAME} ${T_SOURCES})
    kelvane_test_flags(${T_NAME})
    target_link_libraries(${T_NAME} PRIVATE kelvane_test_support ${T_LIBS})
    target_precompile_headers(${T_NAME} REUSE_FROM kelvane_test_pch)
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
