# SPDX-License-Identifier: GPL-3.0-or-later
# One interface target carries the language standard, the warning set and the
# sanitizer choice; every library, program and test links it.
set(QZM_SANITIZER "" CACHE STRING "Sanitizers to build with: '', 'address' (address+undefined) or 'thread'")
set_property(CACHE QZM_SANITIZER PROPERTY STRINGS "" address thread)
# Warnings are errors for developers and CI: `make` passes QZM_WERROR=ON, and its
# plain build is the optimised Release build, so warnings only the optimiser finds
# stop it too.  A plain `cmake` build (a new user's, a packager's, debian/rules)
# gets warnings only, so a newer compiler's new warning never breaks it.
option(QZM_WERROR "Treat warnings as errors" OFF)
option(QZM_BUILD_FUZZ "Build the libFuzzer programs under fuzz/ (clang only; see `make fuzz`)" OFF)

add_library(qzm_options INTERFACE)
target_compile_features(qzm_options INTERFACE cxx_std_20)
set(CMAKE_CXX_EXTENSIONS OFF)

target_compile_options(qzm_options INTERFACE
    -Wall -Wextra -Wpedantic -Wconversion -Wsign-conversion -Wshadow
    -Wnon-virtual-dtor -Woverloaded-virtual -Wcast-align -Wnull-dereference
    -Wdouble-promotion -Wformat=2 -Wimplicit-fallthrough)
if(QZM_WERROR)
    target_compile_options(qzm_options INTERFACE -Werror)
endif()
# GCC 12 at -O3 (Release) reports overlapping memcpy calls inside libstdc++'s
# std::string code that cannot happen (GCC bug 105329); the warning is silenced
# for those builds, as it finds nothing in our own code.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
    target_compile_options(qzm_options INTERFACE $<$<CONFIG:Release,MinSizeRel>:-Wno-restrict>)
endif()

# Hardened programs, as distributions build them: position-independent
# executables, stack protector, fortified libc calls in optimised builds, and
# full RELRO (read-only relocations, every symbol bound at start).  Sanitizer and
# fuzzing builds bring their own instrumentation and are never shipped.
option(QZM_HARDENING "Build hardened programs (PIE, stack protector, fortify, RELRO, BIND_NOW)" ON)
if(QZM_HARDENING AND QZM_SANITIZER STREQUAL "" AND NOT QZM_BUILD_FUZZ)
    include(CheckPIESupported)
    check_pie_supported()
    set(CMAKE_POSITION_INDEPENDENT_CODE ON)
    target_compile_options(qzm_options INTERFACE
        -fstack-protector-strong -fstack-clash-protection
        $<$<NOT:$<CONFIG:Debug>>:-U_FORTIFY_SOURCE -D_FORTIFY_SOURCE=2>)
    target_link_options(qzm_options INTERFACE LINKER:-z,relro LINKER:-z,now)
endif()

if(QZM_SANITIZER STREQUAL "address")
    set(_qzm_san -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
elseif(QZM_SANITIZER STREQUAL "thread")
    set(_qzm_san -fsanitize=thread -fno-omit-frame-pointer)
elseif(NOT QZM_SANITIZER STREQUAL "")
    message(FATAL_ERROR "QZM_SANITIZER must be '', 'address' or 'thread', not '${QZM_SANITIZER}'")
endif()
# The fuzz build instruments everything for coverage and with both sanitizers;
# the fuzz programs add libFuzzer's own main when they link.
if(QZM_BUILD_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
        message(FATAL_ERROR "QZM_BUILD_FUZZ needs clang: configure with -DCMAKE_CXX_COMPILER=clang++")
    endif()
    set(_qzm_san -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined
        -fno-omit-frame-pointer)
endif()
if(_qzm_san)
    target_compile_options(qzm_options INTERFACE ${_qzm_san})
    target_link_options(qzm_options INTERFACE ${_qzm_san})
endif()

# Qt's most used classes, precompiled once for the Qt libraries: parsing Qt's headers
# is most of the time of every Qt file.  (Test programs cannot share one: Qt's test
# library defines each one's own folder.)  Off by default:
# GCC 12 at -O3 then reports libstdc++'s false -Wstringop-overflow alarms, as the
# precompiled libstdc++ no longer counts as a system header; `make test` turns it on
# for its unoptimised sanitizer build.
option(QZM_PRECOMPILE_QT "Precompile Qt's most used headers" OFF)
set(QZM_QT_PRECOMPILED <QApplication> <QCheckBox> <QComboBox> <QDialog> <QFont> <QFontMetrics>
    <QLabel> <QLineEdit> <QMenu> <QPainter> <QPointer> <QPushButton> <QString> <QWidget>)

# Every test program labelled "transfer": the ThreadSanitizer run of `make test`
# builds only these (and what they depend on) before running them.
if(NOT TARGET transfer_tests)
    add_custom_target(transfer_tests)
endif()

# Adds a GoogleTest executable.  LABELS (for example "transfer") select tests
# for the extra sanitizer runs of `make test`; GUI tests get the offscreen platform.
function(qzm_add_test name)
    cmake_parse_arguments(T "GUI" "" "SOURCES;LIBS;LABELS" ${ARGN})
    add_executable(${name} ${T_SOURCES})
    target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock GTest::gtest_main qzm_options)
    # Test files spend most of their compile time parsing GoogleTest's and Qt's headers:
    # compiled in batches of a few files they parse them once per batch.  (So names at a
    # test file's top level must not clash with another file's of the same program; shared
    # helpers live in tests/support.)
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests
        UNITY_BUILD ON UNITY_BUILD_BATCH_SIZE 6)
    # The header-only helpers of tests/support (temporary folders) serve every test.
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests/support)
    target_compile_definitions(${name} PRIVATE
        QZM_TEST_PROGRAM_DIR="${QZM_PROGRAM_DIR}"
        QZM_TEST_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
    # No test may touch the user's own data folder (backups): one under the build tree
    # unless the test points XDG_DATA_HOME at a folder of its own.
    set(props TIMEOUT 300 ENVIRONMENT_MODIFICATION
        "XDG_DATA_HOME=set:${CMAKE_BINARY_DIR}/tests/xdg-data")
    if(T_GUI)
        list(APPEND T_LABELS gui)
        # A desktop-sized screen: the window keeps its classic size; small screens
        # are tested through the placement seam.
        list(APPEND props ENVIRONMENT
            "QT_QPA_PLATFORM=offscreen:configfile=${PROJECT_SOURCE_DIR}/tests/support/offscreen_screen.json")
    endif()
    if(T_LABELS)
        list(APPEND props LABELS "${T_LABELS}")
    endif()
    if("transfer" IN_LIST T_LABELS)
        add_dependencies(transfer_tests ${name})
    endif()
    gtest_discover_tests(${name}
        DISCOVERY_MODE PRE_TEST
        DISCOVERY_TIMEOUT 60
        PROPERTIES ${props})
endfunction()
