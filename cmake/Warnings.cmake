# varo_warnings(target): the project's warning set, applied per target.
function(varo_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
endfunction()

# varo_program(target): put an executable into the suite folder.
function(varo_program target)
  set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${VARO_SUITE_DIR})
  varo_warnings(${target})
endfunction()
