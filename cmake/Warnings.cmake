# Build rules every target of the suite shares.

option(VARO_WERROR "Treat compiler warnings as errors (the CI run sets it)" OFF)

# varo_warnings(target): the project's warning set, applied per target.
function(varo_warnings target)
  target_compile_options(${target} PRIVATE
    -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wsign-conversion -Wold-style-cast)
  if(VARO_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

# varo_sees(target folder...): the folders of src/ whose headers `target` may
# include, and no others. Each target gets a folder of its own in the build
# tree holding links to exactly these folders, and that folder is its only
# include path into src/; an include that crosses a layer the wrong way
# ("model16/..." from radio/, say) then fails to compile.
function(varo_sees target)
  set(dir ${CMAKE_BINARY_DIR}/layers/${target})
  file(REMOVE_RECURSE ${dir})
  file(MAKE_DIRECTORY ${dir})
  foreach(folder IN LISTS ARGN)
    file(CREATE_LINK ${PROJECT_SOURCE_DIR}/src/${folder} ${dir}/${folder} SYMBOLIC)
  endforeach()
  target_include_directories(${target} PRIVATE ${dir})
endfunction()

# varo_library(name FOLDERS folder... SOURCES source... LINKS target...): a
# static library of the suite with its sources PRIVATE and the src/ folders it
# may include.
function(varo_library name)
  cmake_parse_arguments(L "" "" "FOLDERS;SOURCES;LINKS" ${ARGN})
  add_library(${name} STATIC)
  target_sources(${name} PRIVATE ${L_SOURCES})
  target_link_libraries(${name} PUBLIC ${L_LINKS})
  varo_sees(${name} ${L_FOLDERS})
  varo_warnings(${name})
endfunction()

# varo_program(target): put an executable into the suite folder (and into the
# `suite` target).
function(varo_program target)
  set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${VARO_SUITE_DIR})
  varo_warnings(${target})
  add_dependencies(suite ${target})
endfunction()
