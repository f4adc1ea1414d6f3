# postdesk_add_subdirectories(DIR...)
# Adds each listed subdirectory. A listed folder without a CMakeLists.txt is a
# configuration error: a part of the tree must never drop out of the build
# silently.
function(postdesk_add_subdirectories)
    foreach(dir IN LISTS ARGN)
        if(NOT EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/CMakeLists.txt)
            message(FATAL_ERROR
                    "${CMAKE_CURRENT_SOURCE_DIR}/${dir}/CMakeLists.txt is missing; "
                    "add the folder or take it off the list")
        endif()
        add_subdirectory(${dir})
    endforeach()
endfunction()

# postdesk_public_headers(TARGET [FOLDER name])
# Makes the headers of the current source folder visible to TARGET and its users
# as "<name>/header.h" (name defaults to the folder's path below the top folder,
# e.g. "db" or "forms"), and nothing else of the tree: the include root is a
# folder of the build tree that holds one link, named after the folder, to the
# source folder. A layer therefore sees only the headers of the layers it links.
function(postdesk_public_headers target)
    cmake_parse_arguments(ARG "" "FOLDER" "" ${ARGN})
    if(ARG_FOLDER)
        set(name ${ARG_FOLDER})
    else()
        file(RELATIVE_PATH name ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
    endif()
    set(root ${PROJECT_BINARY_DIR}/include-roots/${target})
    get_filename_component(parent ${root}/${name} DIRECTORY)
    file(MAKE_DIRECTORY ${parent})
    file(CREATE_LINK ${CMAKE_CURRENT_SOURCE_DIR} ${root}/${name} SYMBOLIC)
    target_include_directories(${target} PUBLIC ${root})
endfunction()

# postdesk_precompile_qt_headers(TARGET)
# Precompiles the Qt Core, Gui and Widgets headers for TARGET, which must link
# Qt6::Widgets. The first target that asks builds the header; later ones reuse
# it, which works while their compile flags match those of the first (within
# one build they do: same build type, same sanitizers). Page libraries call it
# like postdesk_forms and postdesk_app; every Qt test gets it.
function(postdesk_precompile_qt_headers target)
    if(NOT POSTDESK_PCH)
        return()
    endif()
    get_property(owner GLOBAL PROPERTY POSTDESK_QT_PCH_OWNER)
    if(owner)
        target_precompile_headers(${target} REUSE_FROM ${owner})
    else()
        target_precompile_headers(${target} PRIVATE
            <QtCore/QtCore> <QtGui/QtGui> <QtWidgets/QtWidgets>)
        set_property(GLOBAL PROPERTY POSTDESK_QT_PCH_OWNER ${target})
    endif()
endfunction()

# Under ThreadSanitizer every test reads the one suppression file (Qt's own
# libraries are not instrumented), also when ctest is run by hand.
function(postdesk_set_test_environment name)
    set(environment ${ARGN})
    if(POSTDESK_SANITIZE MATCHES "thread")
        list(APPEND environment "TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1:suppressions=${PROJECT_SOURCE_DIR}/tests/tsan.supp")
    endif()
    if(environment)
        set_tests_properties(${name} PROPERTIES ENVIRONMENT "${environment}")
    endif()
endfunction()

# postdesk_add_gtest(NAME SOURCES... [LIBS ...] [LABELS ...])
# A GoogleTest executable registered with CTest. Like every test it runs with
# private home, configuration and data folders (tests/support/testenvironment.h).
function(postdesk_add_gtest name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS;LABELS" ${ARGN})
    find_package(GTest REQUIRED)
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE GTest::gtest GTest::gtest_main ${ARG_LIBS}
                          postdesk_test_environment)
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES TIMEOUT 300 LABELS "${ARG_LABELS}")
    postdesk_set_test_environment(${name})
endfunction()

# postdesk_add_qtest(NAME SOURCES... [LIBS ...] [LABELS ...])
# A QtTest executable run under the offscreen platform, with private settings
# stores for both scopes.
function(postdesk_add_qtest name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS;LABELS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    # Widgets for every Qt test, so that all of them share one precompiled header.
    target_link_libraries(${name} PRIVATE Qt6::Test Qt6::Widgets ${ARG_LIBS}
                          postdesk_test_environment postdesk_test_settings)
    postdesk_precompile_qt_headers(${name})
    # A test includes its own moc output, so the collection file of automoc is
    # empty: it would spend a second loading the precompiled header for nothing.
    set_source_files_properties(${CMAKE_CURRENT_BINARY_DIR}/${name}_autogen/mocs_compilation.cpp
                                PROPERTIES SKIP_PRECOMPILE_HEADERS ON)
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES TIMEOUT 300 LABELS "${ARG_LABELS}")
    postdesk_set_test_environment(${name} QT_QPA_PLATFORM=offscreen)
endfunction()

# postdesk_install_shared_libraries()
# A shared build (BUILD_SHARED_LIBS, as the test builds are) installs every
# shared library of the tree into POSTDESK_INSTALL_LIBDIR, where the installed
# programs find them through their RPATH. A static build has none to install.
function(postdesk_install_shared_libraries)
    set(libraries)
    set(folders ${PROJECT_SOURCE_DIR})
    while(folders)
        list(POP_FRONT folders folder)
        get_property(targets DIRECTORY ${folder} PROPERTY BUILDSYSTEM_TARGETS)
        foreach(target IN LISTS targets)
            get_target_property(type ${target} TYPE)
            if(type STREQUAL "SHARED_LIBRARY")
                list(APPEND libraries ${target})
            endif()
        endforeach()
        get_property(subfolders DIRECTORY ${folder} PROPERTY SUBDIRECTORIES)
        list(APPEND folders ${subfolders})
    endwhile()
    if(libraries)
        install(TARGETS ${libraries} LIBRARY DESTINATION ${POSTDESK_INSTALL_LIBDIR}
                COMPONENT console)
    endif()
endfunction()
