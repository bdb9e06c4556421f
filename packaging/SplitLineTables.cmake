# Runs at installation, after the programs are installed (packaging/CMakeLists.txt sets
# VRL_PROGRAM_DIR, VRL_PROGRAMS and the binutils). Each installed program is stripped (symbols,
# debugging sections, the compiler's .comment); what its crash reports need to name source
# files and lines (the DWARF sections libbacktrace reads, compressed) goes to
# lib/debug/.build-id/xx/yyyy.debug under the prefix, where libbacktrace and gdb look for it by
# the program's build id. A program without line tables is only stripped; one already stripped
# (installed again) is left as it is.
set(root "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}")
set(modes_dir OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ
              WORLD_EXECUTE)

function(vrl_run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "${ARGN}: ${err}")
  endif()
  set(vrl_out "${out}" PARENT_SCOPE)
endfunction()

foreach(program ${VRL_PROGRAMS})
  set(file "${root}/${VRL_PROGRAM_DIR}/${program}")
  vrl_run(env LC_ALL=C ${VRL_READELF} -S -W -n "${file}")
  if(NOT vrl_out MATCHES "\\.symtab|\\.debug_")
    continue()
  endif()
  if(vrl_out MATCHES "\\.debug_line")
    if(NOT vrl_out MATCHES "Build ID: ([0-9a-f][0-9a-f])([0-9a-f]+)")
      message(FATAL_ERROR "${file} has no build id: its line tables could not be found")
    endif()
    set(debug_dir "${root}/lib/debug/.build-id/${CMAKE_MATCH_1}")
    set(debug "${debug_dir}/${CMAKE_MATCH_2}.debug")
    file(MAKE_DIRECTORY "${debug_dir}")
    file(CHMOD "${root}/lib/debug" "${root}/lib/debug/.build-id" "${debug_dir}"
         PERMISSIONS ${modes_dir})
    # Variable locations and the address index are of no use to a call stack.
    vrl_run(${VRL_OBJCOPY} --only-keep-debug --compress-debug-sections=zlib
            --remove-section=.debug_loclists --remove-section=.debug_loc
            --remove-section=.debug_aranges "${file}" "${debug}")
    file(CHMOD "${debug}" PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
    message(STATUS "Line tables: ${debug}")
  endif()
  vrl_run(${VRL_STRIP} --strip-all --remove-section=.comment "${file}")
endforeach()
