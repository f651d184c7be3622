# One library for each room of cmake/rooms.cmake. Every include names its
# folder ("platform/text/text.h"), and a room's sources find headers only in a
# folder of links to the rooms it sees, so an include of a room above (a
# platform file including the window, search/kept including search/walk)
# does not compile. Where links cannot be made (Windows without the right to
# make them) the build says so and sees the whole tree; the include test
# (tests/include_arrows.cmake) still holds every arrow there.
include(${CMAKE_CURRENT_LIST_DIR}/rooms.cmake)

function(tarnwell_layer_includes target room)
  set(root ${CMAKE_BINARY_DIR}/layers/${target})
  tarnwell_room_sees(${room} seen)
  set(linked)
  foreach(folder IN LISTS seen)
    # A folder below one already linked is seen through that link.
    set(inside FALSE)
    foreach(parent IN LISTS linked)
      string(FIND "${folder}/" "${parent}/" at)
      if(at EQUAL 0)
        set(inside TRUE)
      endif()
    endforeach()
    if(inside)
      continue()
    endif()
    get_filename_component(parentFolder ${root}/${folder} DIRECTORY)
    file(MAKE_DIRECTORY ${parentFolder})
    if(NOT IS_SYMLINK ${root}/${folder})
      file(CREATE_LINK ${CMAKE_SOURCE_DIR}/${folder} ${root}/${folder} RESULT failed SYMBOLIC)
      if(failed)
        message(WARNING "${target}: links cannot be made here (${failed}), so this build does not hold the "
                        "arrows between rooms; only the include test (ctest -R include_arrows) checks them")
        target_include_directories(${target} PRIVATE ${CMAKE_SOURCE_DIR})
        return()
      endif()
    endif()
    list(APPEND linked ${folder})
  endforeach()
  target_include_directories(${target} PRIVATE ${root})
endfunction()

# The library of the room `folder`: tarnwell_ and the folder with "_" for
# "/" (tarnwell_platform_files, tarnwell_search). It links the libraries of
# the rooms the room uses; a room with no sources on this system (the window
# room natively) is an interface library.
function(tarnwell_room folder)
  string(REPLACE "/" "_" target "tarnwell_${folder}")
  tarnwell_folder_sources(sources ${CMAKE_SOURCE_DIR}/${folder})
  set(uses)
  foreach(used IN LISTS TARNWELL_USES_${folder})
    string(REPLACE "/" "_" usedTarget "tarnwell_${used}")
    list(APPEND uses ${usedTarget})
  endforeach()
  if(sources)
    add_library(${target} STATIC ${sources})
    target_compile_options(${target} PRIVATE ${TARNWELL_WARNINGS})
    tarnwell_layer_includes(${target} ${folder})
    target_link_libraries(${target} PUBLIC ${uses})
  else()
    add_library(${target} INTERFACE)
    target_link_libraries(${target} INTERFACE ${uses})
  endif()
endfunction()
