# Writes headers for the resource compiler holding only the object-like
# #define lines of the platform's headers (no declarations, no function-like
# or continued macros).
file(GLOB headers ${HEADERS_DIR}/*.h)
set(defines "// Generated: constants of the platform headers for the resource compiler.\n#pragma once\n")
foreach(header ${headers})
  file(STRINGS ${header} lines REGEX "^#define [A-Za-z_0-9]+ ")
  foreach(line ${lines})
    if(NOT line MATCHES "\\\\$")
      string(APPEND defines "${line}\n")
    endif()
  endforeach()
endforeach()
file(MAKE_DIRECTORY ${OUT_DIR})
foreach(name windows.h commctrl.h aygshell.h windbase.h resource_defs.h)
  file(WRITE ${OUT_DIR}/${name}.tmp "${defines}")
  file(COPY_FILE ${OUT_DIR}/${name}.tmp ${OUT_DIR}/${name} ONLY_IF_DIFFERENT)
  file(REMOVE ${OUT_DIR}/${name}.tmp)
endforeach()
