# Run by CPack after the staged install is stripped: drops the compiler's .comment section from
# the program, as Debian's own packaging tools do, so the package carries no unneeded section.
# (CPack passes on only CPACK_ variables, hence the name of the objcopy variable.)
file(GLOB_RECURSE programs "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*/bin/*")
foreach(program IN LISTS programs)
  execute_process(COMMAND "${CPACK_ZARVEN_OBJCOPY}" --remove-section=.comment "${program}"
                  RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "cannot remove the .comment section of ${program}")
  endif()
endforeach()
