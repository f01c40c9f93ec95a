# The folders of the program, each one library, from the bottom up: a library links only the
# libraries to its left, and a source file includes only headers of its own folder or of a
# folder to its left. Checked when the build is configured, so a wrong arrow stops the build,
# and by the layout test, so an include added since then fails the tests.
set(LINKFERRY_LAYERS platform engine core qtui pages wizard)
if(NOT LINKFERRY_SOURCE_DIR)
  set(LINKFERRY_SOURCE_DIR ${CMAKE_SOURCE_DIR})
endif()

function(linkferry_check_includes)
  foreach(layer ${LINKFERRY_LAYERS})
    list(FIND LINKFERRY_LAYERS ${layer} rank)
    file(GLOB sources ${LINKFERRY_SOURCE_DIR}/${layer}/*.cpp
                      ${LINKFERRY_SOURCE_DIR}/${layer}/*.h)
    foreach(source ${sources})
      file(STRINGS ${source} includes REGEX "^#include \"[a-z_]+/")
      foreach(line ${includes})
        string(REGEX REPLACE "^#include \"([a-z_]+)/.*" "\\1" folder "${line}")
        list(FIND LINKFERRY_LAYERS ${folder} used)
        if(used EQUAL -1 OR used GREATER rank)
          message(FATAL_ERROR "${source}: ${line}: ${layer}/ may include only "
                              "headers of its own folder or of one to its left")
        endif()
      endforeach()
    endforeach()
  endforeach()
endfunction()

# Called once every library is defined.
function(linkferry_check_links)
  foreach(layer ${LINKFERRY_LAYERS})
    if(NOT TARGET ${layer})
      continue()
    endif()
    list(FIND LINKFERRY_LAYERS ${layer} rank)
    get_target_property(links ${layer} LINK_LIBRARIES)
    foreach(link ${links})
      list(FIND LINKFERRY_LAYERS "${link}" used)
      if(NOT used EQUAL -1 AND NOT used LESS rank)
        message(FATAL_ERROR "library ${layer} links ${link}, which is not to its left")
      endif()
    endforeach()
  endforeach()
endfunction()

# Run as a script (the layout test): cmake -DLINKFERRY_SOURCE_DIR=... -P cmake/Layout.cmake
if(CMAKE_SCRIPT_MODE_FILE)
  linkferry_check_includes()
endif()
