include(${CMAKE_CURRENT_LIST_DIR}/VrlVersionNote.cmake)

# vrl_library(NAME [QT] DEPS ...): a static library of every .cpp in the calling folder (not
# below; a program's *Main.cpp is left to vrl_main), linked PRIVATE to the layers below it that it
# uses: the link line of a library names every library it may call, so a call into a layer above
# (or one not named) does not link. QT: its .ui layouts are compiled and Qt Widgets linked. The
# folder and the link line are recorded for the layer check (vrl_write_layers).
function(vrl_library name)
  cmake_parse_arguments(ARG "QT" "" "DEPS" ${ARGN})
  file(GLOB srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  list(FILTER srcs EXCLUDE REGEX "Main\\.cpp$")
  if(ARG_QT)
    file(GLOB layouts CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.ui)
    list(APPEND srcs ${layouts})
    list(APPEND ARG_DEPS Qt6::Widgets)
  endif()
  if(srcs)
    add_library(${name} STATIC ${srcs})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} PRIVATE ${ARG_DEPS})
    if(ARG_QT)
      set_target_properties(${name} PROPERTIES AUTOMOC ON AUTOUIC ON)
      target_link_libraries(${name} PUBLIC Qt6::Widgets)
    endif()
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} INTERFACE ${ARG_DEPS})
  endif()
  vrl_record_layer(${name} FOLDER ${ARG_DEPS})
endfunction()

# vrl_main(NAME SOURCE DEPS ...): a program from its *Main.cpp in the calling folder.
function(vrl_main name source)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  add_executable(${name} ${source})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS})
  vrl_program(${name})
  vrl_record_layer(${name} SOURCES ${ARG_DEPS})
endfunction()

# vrl_record_layer(TARGET FOLDER|SOURCES DEPS...): what the layer check knows of a target: the
# sources it checks (FOLDER: every .cpp and .h of the folder but the programs' *Main.cpp;
# SOURCES: the target's own .cpp files) and the libraries it links.
function(vrl_record_layer name what)
  file(RELATIVE_PATH folder ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
  if(what STREQUAL "FOLDER")
    file(GLOB files RELATIVE ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp
         ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
    list(FILTER files EXCLUDE REGEX "Main\\.cpp$")
    set_property(GLOBAL PROPERTY VRL_FOLDER_OF_${name} ${folder})
  else()
    get_target_property(sources ${name} SOURCES)
    set(files)
    foreach(source ${sources})
      if(source MATCHES "\\.cpp$" AND NOT IS_ABSOLUTE ${source})
        list(APPEND files ${folder}/${source})
      endif()
    endforeach()
  endif()
  set_property(GLOBAL APPEND PROPERTY VRL_LAYER_TARGETS ${name})
  set_property(GLOBAL PROPERTY VRL_FILES_OF_${name} ${files})
  set_property(GLOBAL PROPERTY VRL_DEPS_OF_${name} ${ARGN})
endfunction()

# vrl_write_layers(FILE): writes what the layer check (cmake/CheckLayers.cmake) reads, once every
# target is defined: per target its files, the folders it may include (its own and those of the
# libraries it links; an INTERFACE group counts as its members) and the outside headers it may
# include (Qt, sqlite3.h, libpq-fe.h, CLI11, nlohmann-json: only with the library that provides
# them).
function(vrl_write_layers file)
  get_property(targets GLOBAL PROPERTY VRL_LAYER_TARGETS)
  set(text "")
  foreach(target ${targets})
    get_property(files GLOBAL PROPERTY VRL_FILES_OF_${target})
    get_property(deps GLOBAL PROPERTY VRL_DEPS_OF_${target})
    get_property(own GLOBAL PROPERTY VRL_FOLDER_OF_${target})
    if(NOT own)
      list(GET files 0 first)
      get_filename_component(own ${first} DIRECTORY)
      # A program may include its own folder's library.
    endif()
    set(folders ${own})
    set(outside "")
    set(pending ${deps})
    while(pending)
      list(POP_FRONT pending dep)
      if(dep STREQUAL "Qt6::Widgets")
        list(APPEND outside qt)
      elseif(dep STREQUAL "PkgConfig::SQLITE3")
        list(APPEND outside sqlite)
      elseif(dep STREQUAL "PkgConfig::LIBPQ")
        list(APPEND outside libpq)
      elseif(dep STREQUAL "CLI11::CLI11")
        list(APPEND outside cli11)
      elseif(dep STREQUAL "nlohmann_json::nlohmann_json")
        list(APPEND outside json)
      elseif(TARGET ${dep})
        get_property(folder GLOBAL PROPERTY VRL_FOLDER_OF_${dep})
        if(folder)
          list(APPEND folders ${folder})
        endif()
        get_target_property(type ${dep} TYPE)
        if(type STREQUAL "INTERFACE_LIBRARY")
          get_target_property(members ${dep} INTERFACE_LINK_LIBRARIES)
          if(members)
            list(APPEND pending ${members})
          endif()
        endif()
      endif()
    endwhile()
    list(REMOVE_DUPLICATES folders)
    string(REPLACE ";" "," files "${files}")
    string(REPLACE ";" "," folders "${folders}")
    string(REPLACE ";" "," outside "${outside}")
    string(APPEND text "${target}|${files}|${folders}|${outside}\n")
  endforeach()
  file(WRITE ${file} "${text}")
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
  # VRL_INSTALLATION empty (none): an installation named in the caller's environment is never
  # the one the tests' programs work on.
  set(env "QT_QPA_PLATFORM=offscreen;VRL_BUILD_DIR=${PROJECT_BINARY_DIR};VRL_INSTALLATION=")
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
