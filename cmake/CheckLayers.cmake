# cmake -DSOURCE_DIR=... -P CheckLayers.cmake: fails when a source includes a folder above its own
# layer. The layers, lowest first: common/, platform/ (interfaces), host/, then the subsystems
# log/, ui/, db/, then settings/, startup/, docs/; app/ and tools/ may include everything. The
# platform implementations (platform/<kind>/...) may include common/, host/ and platform/.
set(allowed_common "common")
set(allowed_platform "common;platform")
set(allowed_host "common;platform;host")
set(allowed_log "common;platform;host;log")
set(allowed_ui "common;platform;host;log;ui")
set(allowed_db "common;platform;host;log;ui;db")
set(allowed_settings "common;platform;host;log;ui;db;settings")
set(allowed_startup "common;platform;host;log;ui;db;startup")
set(allowed_docs "common;platform;host;log;ui;db;docs")
set(allowed_implementation "common;platform;host")

set(failures "")
foreach(folder common platform host log ui db settings startup docs)
  file(GLOB_RECURSE files RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/${folder}/*.h
       ${SOURCE_DIR}/${folder}/*.cpp)
  foreach(file ${files})
    set(allowed ${allowed_${folder}})
    # platform/<kind>/ below platform/engine/ (and platform/system, qt, console) implement the
    # interfaces.
    if(file MATCHES "^platform/(engine/[^/]+|system|qt|console)/")
      set(allowed ${allowed_implementation})
    endif()
    file(STRINGS ${SOURCE_DIR}/${file} includes REGEX "^#include \"[a-z_]+/")
    foreach(line ${includes})
      string(REGEX REPLACE "^#include \"([a-z_]+)/.*" "\\1" target "${line}")
      list(FIND allowed ${target} found)
      if(found EQUAL -1)
        string(APPEND failures "  ${file}: ${line}\n")
      endif()
    endforeach()
  endforeach()
endforeach()
if(failures)
  message(FATAL_ERROR "Includes from a layer above:\n${failures}")
endif()
