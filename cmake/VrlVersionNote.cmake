# The version note: every program (and shared library) we build carries the project's four-part
# version in an ELF note section ".note.vrl.version", our stand-in for a Windows version resource.
# Format (see VrlVersionNote.cpp.in): namesz 7, descsz 8, type 1, name "Varnel\0" padded to 8
# bytes, then major, minor, release and build as four 16-bit numbers.
foreach(part MAJOR MINOR PATCH TWEAK)
  if("${PROJECT_VERSION_${part}}" STREQUAL "")
    set(PROJECT_VERSION_${part} 0)
  endif()
endforeach()
set(VRL_VERSION_MAJOR ${PROJECT_VERSION_MAJOR})
set(VRL_VERSION_MINOR ${PROJECT_VERSION_MINOR})
set(VRL_VERSION_RELEASE ${PROJECT_VERSION_PATCH})
set(VRL_VERSION_BUILD ${PROJECT_VERSION_TWEAK})
set(VRL_VERSION_NOTE_SOURCE ${PROJECT_BINARY_DIR}/generated/VrlVersionNote.cpp)
configure_file(${CMAKE_CURRENT_LIST_DIR}/VrlVersionNote.cpp.in ${VRL_VERSION_NOTE_SOURCE} @ONLY)

# vrl_program(TARGET): links the version note into a program or shared library. Every
# executable target calls it (vrl_test does so for the test programs).
function(vrl_program target)
  target_sources(${target} PRIVATE ${VRL_VERSION_NOTE_SOURCE})
  target_compile_definitions(
    ${target} PRIVATE VRL_VERSION_MAJOR=${VRL_VERSION_MAJOR} VRL_VERSION_MINOR=${VRL_VERSION_MINOR}
                      VRL_VERSION_RELEASE=${VRL_VERSION_RELEASE} VRL_VERSION_BUILD=${VRL_VERSION_BUILD})
endfunction()
