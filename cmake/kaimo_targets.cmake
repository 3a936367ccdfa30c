# How the project's targets are put together.
#
# Layers. Every header is included by its path from the top of the tree
# ("engine/board/board.h"), but a library exports only its own folder: its
# include folder (build/include/<target>) holds nothing but a link to that
# folder. A file sees the headers of its own library and of the libraries it
# links, so a layer that includes from a layer above it (one it does not
# link) fails to build.
#
# Warnings. Every target of ours links kaimo_warnings, which carries the
# warning flags; KAIMO_WERROR (on in test.sh, and so in CI) makes them errors.

option(KAIMO_WERROR "Treat warnings as errors" OFF)
add_library(kaimo_warnings INTERFACE)
target_compile_options(kaimo_warnings INTERFACE -Wall -Wextra -Wshadow $<$<BOOL:${KAIMO_WERROR}>:-Werror>)

# kaimo_library_folder(TARGET FOLDER): TARGET is the library of FOLDER (a
# path from the top of the tree); it exports that folder alone and is built
# with the project's warnings.
function(kaimo_library_folder target folder)
  set(root ${PROJECT_BINARY_DIR}/include/${target})
  get_filename_component(parent ${root}/${folder} DIRECTORY)
  file(MAKE_DIRECTORY ${parent})
  file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${folder} ${root}/${folder} SYMBOLIC)
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "INTERFACE_LIBRARY")
    target_include_directories(${target} INTERFACE ${root})
  else()
    target_include_directories(${target} PUBLIC ${root})
    target_link_libraries(${target} PRIVATE kaimo_warnings)
  endif()
endfunction()
