# Sources of a folder: its portable .cpp files, plus those of win/ in Windows builds or, off
# Windows, those of the stand-in folder named by HOST (when the folder has one).
function(kv_folder_sources out folder)
  cmake_parse_arguments(ARG "" "HOST" "" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS "${folder}/*.cpp")
  if(WIN32)
    file(GLOB platform CONFIGURE_DEPENDS "${folder}/win/*.cpp")
  elseif(ARG_HOST)
    file(GLOB platform CONFIGURE_DEPENDS "${folder}/${ARG_HOST}/*.cpp")
  endif()
  set(${out} ${sources} ${platform} PARENT_SCOPE)
endfunction()

# A static library of the current source folder (see kv_folder_sources), with src/ as its
# include root.
function(kv_add_library name)
  cmake_parse_arguments(ARG "" "HOST" "" ${ARGN})
  kv_folder_sources(sources "${CMAKE_CURRENT_SOURCE_DIR}" HOST ${ARG_HOST})
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC "${PROJECT_SOURCE_DIR}/src")
endfunction()
