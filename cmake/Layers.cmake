# The layers of src/ are libraries that see only the headers of what they link. No target has src/
# itself on its include path: each library publishes its own folder through a directory of
# symbolic links in the build tree, so "core/Defaults.h" is found only by targets that link the
# core library, and an include that runs up a layer fails to compile.

# veltrane_publish_folder(TARGET FOLDER): TARGET's users (and TARGET itself) include the headers of
# src/FOLDER, subfolders too, as "FOLDER/...".
function(veltrane_publish_folder target folder)
  set(stage ${CMAKE_BINARY_DIR}/layers/${target})
  get_filename_component(parent ${stage}/${folder} DIRECTORY)
  file(MAKE_DIRECTORY ${parent})
  file(CREATE_LINK ${PROJECT_SOURCE_DIR}/src/${folder} ${stage}/${folder} SYMBOLIC)
  target_include_directories(${target} PUBLIC ${stage})
endfunction()

# veltrane_publish_headers(TARGET FOLDER): as above, but only the headers directly in src/FOLDER,
# for a folder whose subfolders are libraries of their own (the ports and their adapters).
function(veltrane_publish_headers target folder)
  set(stage ${CMAKE_BINARY_DIR}/layers/${target})
  file(MAKE_DIRECTORY ${stage}/${folder})
  file(GLOB headers CONFIGURE_DEPENDS RELATIVE ${PROJECT_SOURCE_DIR}/src/${folder}
    ${PROJECT_SOURCE_DIR}/src/${folder}/*.h)
  foreach(header IN LISTS headers)
    file(CREATE_LINK ${PROJECT_SOURCE_DIR}/src/${folder}/${header} ${stage}/${folder}/${header} SYMBOLIC)
  endforeach()
  target_include_directories(${target} PUBLIC ${stage})
endfunction()
