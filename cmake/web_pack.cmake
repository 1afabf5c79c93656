# The browser build's pack: the demo's entries and, last, the caption glyph triangles that
# this Linux build outlines for it (the browser has no font code). Built on demand
# (scripts/build-web.sh) in web/, beside links to the assets; the native programs keep their
# own pack.
set(WEB_ENTRY_DIR ${CMAKE_BINARY_DIR}/web)
set(CAPTIONS_FILE ${WEB_ENTRY_DIR}/Captions.tri)
set(WEB_PACK_FILE ${CMAKE_BINARY_DIR}/vernalis-web.pack)
add_executable(captions tools/captions/main.cpp ${TPACK_SIZE_SOURCE})
target_link_libraries(captions PRIVATE vernalis_core)
add_custom_command(OUTPUT ${CAPTIONS_FILE}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${WEB_ENTRY_DIR}
  COMMAND captions ${CAPTIONS_FILE}
  DEPENDS captions
  COMMENT "Outlining the caption glyphs for the browser build")
set(entry_links)
foreach(entry ${PACK_ENTRIES})
  list(APPEND entry_links COMMAND ${CMAKE_COMMAND} -E create_symlink ${ASSET_DIR}/${entry}
       ${WEB_ENTRY_DIR}/${entry})
endforeach()
add_custom_command(OUTPUT ${WEB_PACK_FILE}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${WEB_ENTRY_DIR}
  ${entry_links}
  COMMAND packbuild ${WEB_PACK_FILE} ${WEB_ENTRY_DIR} ${PACK_ENTRIES} Captions.tri
  DEPENDS packbuild ${ASSET_OUTPUTS} ${CAPTIONS_FILE}
  COMMENT "Building the browser build's pack")
add_custom_target(web_pack DEPENDS ${WEB_PACK_FILE})
