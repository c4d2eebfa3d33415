# Compiles a resource script with llvm-rc into a .res file and links its bytes
# into a target; the kernel indexes them at start-up as the module's resources.
#
#   vantor_add_resources(TARGET RC_FILE [DEPENDS file...])
#
# The script may include <windows.h>, <commctrl.h> and <aygshell.h>: for the
# resource compiler these hold only the constants of the platform's headers.
# The program's resources/ folder is searched too, so that another module's
# script can include "vantor.rc" with its images.

find_program(LLVM_RC NAMES llvm-rc llvm-rc-14 REQUIRED)
set(VANTOR_PLATFORM_INCLUDE ${CMAKE_SOURCE_DIR}/platform/include)

function(vantor_add_resources target rc_file)
  cmake_parse_arguments(ARG "" "" "DEPENDS" ${ARGN})
  get_filename_component(rc_path ${rc_file} ABSOLUTE)
  get_filename_component(rc_dir ${rc_path} DIRECTORY)
  get_filename_component(rc_name ${rc_path} NAME)
  set(out ${CMAKE_CURRENT_BINARY_DIR}/${target}.resources)
  file(GLOB platform_headers ${VANTOR_PLATFORM_INCLUDE}/*.h)

  add_custom_command(
    OUTPUT ${out}/include/windows.h
    COMMAND ${CMAKE_COMMAND} -DHEADERS_DIR=${VANTOR_PLATFORM_INCLUDE} -DOUT_DIR=${out}/include
            -P ${CMAKE_SOURCE_DIR}/cmake/ExtractDefines.cmake
    DEPENDS ${platform_headers} ${CMAKE_SOURCE_DIR}/cmake/ExtractDefines.cmake
    COMMENT "Resource compiler headers for ${target}")

  add_custom_command(
    OUTPUT ${out}/module.res
    # The script goes by its bare name: llvm-rc reads an absolute path such as
    # /check/... as an option.
    COMMAND ${LLVM_RC} /I ${out}/include /I ${rc_dir} /I ${CMAKE_SOURCE_DIR}/resources /FO ${out}/module.res ${rc_name}
    DEPENDS ${rc_path} ${out}/include/windows.h ${ARG_DEPENDS}
    WORKING_DIRECTORY ${rc_dir}
    COMMENT "Compiling resources ${rc_file}")

  file(WRITE ${out}/module_res.S
    "  .section .rodata.vantor_res,\"a\"\n"
    "  .balign 16\n"
    "  .global vantor_module_res_start\n"
    "  .global vantor_module_res_end\n"
    "vantor_module_res_start:\n"
    "  .incbin \"${out}/module.res\"\n"
    "vantor_module_res_end:\n"
    "  .section .note.GNU-stack,\"\",@progbits\n")
  set_source_files_properties(${out}/module_res.S PROPERTIES OBJECT_DEPENDS ${out}/module.res)
  add_custom_target(${target}_res DEPENDS ${out}/module.res)
  add_dependencies(${target} ${target}_res)
  target_sources(${target} PRIVATE ${out}/module_res.S)
endfunction()
