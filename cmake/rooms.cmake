# The program's rooms (folders of sources) and the rooms each one's code may
# include directly. A room also sees what those rooms see, so the arrows
# point one way: nothing below a room ever includes it. The build (link
# folders, cmake/layers.cmake) and the include test (tests/include_arrows.cmake)
# both read this table; the window room ui/ sees everything.
#
# platform/text is the floor: texts are plain bytes and their conversions,
# and everything above it, the debug line and the system's messages of
# platform/base included, speaks in those texts.
set(TARNWELL_ROOMS
    platform/text platform/base platform/files platform/window
    search/names search/match search/walk search/kept search
    results pictures ui)
set(TARNWELL_USES_platform/text "")
set(TARNWELL_USES_platform/base platform/text)
set(TARNWELL_USES_platform/files platform/base platform/text)
set(TARNWELL_USES_platform/window platform/base platform/text platform/files)
set(TARNWELL_USES_search/names platform/text)
set(TARNWELL_USES_search/match search/names platform/text)
set(TARNWELL_USES_search/walk search/match platform/files)
set(TARNWELL_USES_search/kept platform/files)
set(TARNWELL_USES_search search/walk search/kept search/match search/names)
set(TARNWELL_USES_results platform/files)
set(TARNWELL_USES_pictures platform/files)
set(TARNWELL_USES_ui platform/window search results pictures)

# The rooms `room` may include: itself and every room it uses, directly or
# through another, parents before the rooms below them.
function(tarnwell_room_sees room out)
  set(seen ${room})
  set(queue ${TARNWELL_USES_${room}})
  while(queue)
    list(POP_FRONT queue next)
    if(NOT next IN_LIST seen)
      list(APPEND seen ${next})
      list(APPEND queue ${TARNWELL_USES_${next}})
    endif()
  endwhile()
  list(SORT seen)
  set(${out} ${seen} PARENT_SCOPE)
endfunction()

# The room that holds a source file: the longest room folder its path
# (relative to the source tree) starts with; empty for files of no room.
function(tarnwell_room_of path out)
  set(found "")
  foreach(room IN LISTS TARNWELL_ROOMS)
    string(LENGTH "${room}/" length)
    string(SUBSTRING "${path}" 0 ${length} head)
    if(head STREQUAL "${room}/")
      string(FIND "${path}" "/" last REVERSE)
      string(SUBSTRING "${path}" 0 ${last} folder)
      if(folder STREQUAL room)
        set(found ${room})
      endif()
    endif()
  endforeach()
  set(${out} "${found}" PARENT_SCOPE)
endfunction()
