# Includes by layer. Every include names its folder ("platform/text.h"), and
# a layer's sources find headers only in a folder of links to the layers
# they may use: platform sees platform; search and results see platform and
# themselves. An include of a layer above (results/ including ui/, search/
# including results/) then fails to compile, which is the check that the
# dependencies point one way. Where links cannot be made (Windows without
# the right to make them), the layer sees the whole tree instead.
function(tarnwell_layer_includes target)
  set(root ${CMAKE_BINARY_DIR}/layers/${target})
  file(MAKE_DIRECTORY ${root})
  foreach(folder IN LISTS ARGN)
    if(NOT IS_SYMLINK ${root}/${folder})
      file(CREATE_LINK ${CMAKE_SOURCE_DIR}/${folder} ${root}/${folder} RESULT failed SYMBOLIC)
      if(failed)
        message(STATUS "${target}: no links (${failed}); it sees the whole tree")
        target_include_directories(${target} PRIVATE ${CMAKE_SOURCE_DIR})
        return()
      endif()
    endif()
  endforeach()
  target_include_directories(${target} PRIVATE ${root})
endfunction()
