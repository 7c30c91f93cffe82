# Every library is seen through an include root of its own in the build tree, which
# holds links to only that library's headers under their usual names
# (include/vantrel_engine/engine/CardView.h -> engine/CardView.h). So
# `#include "engine/CardView.h"` compiles only where vantrel_engine is linked, and
# the link lines are the whole story of who uses whom.
#
# A target's headers come from the folders of its sources: X.h for each X.cpp it
# builds, and the headers with no X.cpp beside them (header-only pieces), which
# belong to the first target that takes headers from their folder. A target without
# sources of its own (an INTERFACE library) names its folders with FOLDERS. New
# headers are picked up when the build next runs: the folders are globbed with
# CONFIGURE_DEPENDS.
#
#   vantrel_expose_headers(target PUBLIC|PRIVATE|INTERFACE [FOLDERS folder...])
function(vantrel_expose_headers name scope)
  cmake_parse_arguments(E "" "" "FOLDERS" ${ARGN})
  get_target_property(target_dir ${name} SOURCE_DIR)
  set(built)
  set(folders)
  if(E_FOLDERS)
    foreach(folder ${E_FOLDERS})
      cmake_path(ABSOLUTE_PATH folder BASE_DIRECTORY ${target_dir} NORMALIZE)
      # "." comes out as ".../folder/"; the sources' folders have no trailing slash.
      string(REGEX REPLACE "(.)/$" "\\1" folder ${folder})
      list(APPEND folders ${folder})
    endforeach()
  else()
    get_target_property(sources ${name} SOURCES)
    foreach(source ${sources})
      if(source MATCHES "^\\$<")
        continue()
      endif()
      cmake_path(ABSOLUTE_PATH source BASE_DIRECTORY ${target_dir} NORMALIZE)
      # Generated sources (resources, moc) have no headers to expose.
      cmake_path(IS_PREFIX PROJECT_BINARY_DIR ${source} NORMALIZE generated)
      if(NOT generated)
        list(APPEND built ${source})
        cmake_path(GET source PARENT_PATH folder)
        list(APPEND folders ${folder})
      endif()
    endforeach()
  endif()
  list(REMOVE_DUPLICATES folders)

  # Made afresh at each configure, so a header moved to another target leaves no
  # link behind.
  set(root ${PROJECT_BINARY_DIR}/include/${name})
  file(REMOVE_RECURSE ${root})
  file(MAKE_DIRECTORY ${root})
  foreach(folder ${folders})
    get_property(owner GLOBAL PROPERTY vantrel_header_only_owner:${folder})
    if(NOT owner)
      set(owner ${name})
      set_property(GLOBAL PROPERTY vantrel_header_only_owner:${folder} ${name})
    endif()
    file(GLOB headers CONFIGURE_DEPENDS ${folder}/*.h)
    foreach(header ${headers})
      cmake_path(REPLACE_EXTENSION header LAST_ONLY .cpp OUTPUT_VARIABLE source)
      if(source IN_LIST built OR (NOT EXISTS ${source} AND owner STREQUAL name))
        cmake_path(RELATIVE_PATH header BASE_DIRECTORY ${PROJECT_SOURCE_DIR}
          OUTPUT_VARIABLE spelling)
        cmake_path(GET spelling PARENT_PATH spelling_folder)
        file(MAKE_DIRECTORY ${root}/${spelling_folder})
        file(CREATE_LINK ${header} ${root}/${spelling} SYMBOLIC)
      endif()
    endforeach()
  endforeach()
  target_include_directories(${name} ${scope} ${root})
endfunction()
