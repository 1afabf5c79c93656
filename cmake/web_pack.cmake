# The browser build's pack: the demo's entries and, last, the caption glyph triangles that
# this Linux build outlines for it (the browser has no font code). Built on demand
# (scripts/build-web.sh); the native programs keep their own pack.
set(CAPTIONS_FILE ${ASSET_DIR}/Captions.tri)
set(WEB_PACK_FILE ${CMAKE_BINARY_DIR}/vernalis-web.pack)
add_executable(captions tools/captions/main.cpp ${TPACK_SIZE_SOURCE})
target_link_libraries(captions PRIVATE vernalis_core)
add_custom_command(OUTPUT ${CAPTIONS_FILE}
  COMMAND captions ${CAPTIONS_FILE}
  DEPENDS captions
  COMMENT "Outlining the caption glyphs for the browser build")
add_custom_command(OUTPUT ${WEB_PACK_FILE}
  COMMAND packbuild ${WEB_PACK_FILE} ${ASSET_DIR} ${PACK_ENTRIES} Captions.tri
  DEPENDS packbuild ${ASSET_OUTPUTS} ${CAPTIONS_FILE}
  COMMENT "Building the browser build's pack")
add_custom_target(web_pack DEPENDS ${WEB_PACK_FILE})
