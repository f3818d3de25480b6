# vf_add_subfolders([ONLY regex]): adds every folder beside the calling
# CMakeLists.txt that has a CMakeLists.txt of its own, so that each area keeps
# its build rules in its own folder. With ONLY, just the folders whose names match.
function(vf_add_subfolders)
  cmake_parse_arguments(ARG "" "ONLY" "" ${ARGN})
  file(GLOB children LIST_DIRECTORIES true CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*)
  foreach(child ${children})
    get_filename_component(leaf ${child} NAME)
    if(NOT IS_DIRECTORY ${child} OR NOT EXISTS ${child}/CMakeLists.txt)
      continue()
    endif()
    if(ARG_ONLY AND NOT leaf MATCHES "${ARG_ONLY}")
      continue()
    endif()
    add_subdirectory(${leaf})
  endforeach()
endfunction()
