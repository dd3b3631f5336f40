# Precompiled headers for the targets whose sources spend much of their compile time reading the
# same big headers: Qt's widgets for the window libraries and the window tests, GoogleTest and
# nlohmann/json for the GoogleTest tests. Each kind's header is built once, by a small target of
# its own, and reused by every target of the kind; a test added later takes its kind's header from
# what it links. (Qt's test library is left out: each test folder defines its own build folder for
# it, and a precompiled header holds one.) CMAKE_DISABLE_PRECOMPILE_HEADERS=ON builds without
# them; clang-tidy reads the sources without them (scripts/tidy.sh).

# Makes NAME, a target whose only work is the precompiled header of HEADERS, compiled with the
# flags that LIBRARIES give; a target that reuses it must link at least those.
function(orvalex_add_header_target name libraries headers)
    set(source ${CMAKE_CURRENT_BINARY_DIR}/${name}.cpp)
    file(CONFIGURE OUTPUT ${source} CONTENT "// The precompiled header's own target.\n")
    add_library(${name} OBJECT ${source})
    target_link_libraries(${name} PRIVATE ${libraries})
    target_precompile_headers(${name} PRIVATE ${headers})
endfunction()

# The kind of a test target from what it links directly: "qt", "gtest" or nothing.
function(orvalex_test_kind target out)
    get_target_property(links ${target} LINK_LIBRARIES)
    set(kind "")
    if(links MATCHES "(^|;)(Qt6::Test|window_fixture)(;|$)")
        set(kind qt)
    elseif(links MATCHES "(^|;)GTest::(gtest|gtest_main)(;|$)")
        set(kind gtest)
    endif()
    set(${out} ${kind} PARENT_SCOPE)
endfunction()

if(TARGET main_window)
    find_package(Qt6 REQUIRED COMPONENTS Widgets)
    orvalex_add_header_target(orvalex_qt_headers Qt6::Widgets <QtWidgets>)
    foreach(target IN ITEMS main_window analysis_window)
        target_precompile_headers(${target} REUSE_FROM orvalex_qt_headers)
    endforeach()
endif()

if(BUILD_TESTING)
    find_package(GTest REQUIRED)
    orvalex_add_header_target(orvalex_gtest_headers "GTest::gtest;orvalex_json"
        "<gtest/gtest.h>;<nlohmann/json.hpp>")
    get_directory_property(test_folders DIRECTORY tests SUBDIRECTORIES)
    foreach(folder IN LISTS test_folders)
        get_directory_property(targets DIRECTORY ${folder} BUILDSYSTEM_TARGETS)
        foreach(target IN LISTS targets)
            orvalex_test_kind(${target} kind)
            if(kind)
                target_precompile_headers(${target} REUSE_FROM orvalex_${kind}_headers)
            endif()
        endforeach()
    endforeach()
endif()
