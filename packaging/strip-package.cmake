# Run by CPack on the staged package before it is packed: strips the programs as Debian's
# dh_strip does, the symbols and the .comment and .note sections too.
find_program(KORVAN_STRIP strip REQUIRED)
file(GLOB_RECURSE korvan_staged_programs LIST_DIRECTORIES false
     "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*/bin/*" "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/bin/*")
foreach(program ${korvan_staged_programs})
  execute_process(
    COMMAND ${KORVAN_STRIP} --strip-unneeded --remove-section=.comment --remove-section=.note
            ${program}
    RESULT_VARIABLE korvan_strip_result)
  if(NOT korvan_strip_result EQUAL 0)
    message(FATAL_ERROR "strip failed on ${program}")
  endif()
endforeach()
