include(${CMAKE_CURRENT_LIST_DIR}/VrlVersionNote.cmake)

# vrl_library(NAME DEPS ...): a static library of every .cpp in the calling folder (not below),
# linked PRIVATE to the layers below it that it uses: the link line of a library names every
# library it may call, so a call into a layer above (or one not named) does not link.
function(vrl_library name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(srcs)
    add_library(${name} STATIC ${srcs})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} PRIVATE ${ARG_DEPS})
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} INTERFACE ${ARG_DEPS})
  endif()
endfunction()

# vrl_test(NAME [REMOTE] DEPS ...): one GoogleTest program from every .cpp in the calling test
# folder. REMOTE: its tests need the throwaway PostgreSQL cluster (tests/CMakeLists.txt), so they
# require the PgCluster fixture and find its maintenance database's conninfo in VRL_TEST_PG.
function(vrl_test name)
  cmake_parse_arguments(ARG "REMOTE" "" "DEPS" ${ARGN})
  file(GLOB srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(NOT srcs)
    return()
  endif()
  add_executable(${name} ${srcs})
  vrl_program(${name})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} vrl_testsupport GTest::gtest GTest::gtest_main
                                        GTest::gmock)
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60)
  # The properties of the discovered tests are set by a script of our own that CTest reads after
  # the discovered list: gtest_discover_tests' PROPERTIES loses the separators of a list value,
  # so a second environment variable would not reach the tests.
  set(env "QT_QPA_PLATFORM=offscreen;VRL_BUILD_DIR=${PROJECT_BINARY_DIR}")
  set(fixture)
  if(ARG_REMOTE)
    list(APPEND env "VRL_TEST_PG=${VRL_TEST_PG_CONNINFO}")
    set(fixture "FIXTURES_REQUIRED PgCluster")
  endif()
  set(props ${CMAKE_CURRENT_BINARY_DIR}/${name}_properties.cmake)
  file(WRITE ${props} "if(${name}_TESTS)\n  set_tests_properties(\${${name}_TESTS} PROPERTIES "
                      "ENVIRONMENT [==[${env}]==] ${fixture})\nendif()\n")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${props})
endfunction()
