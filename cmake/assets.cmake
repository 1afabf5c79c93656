# Build-time media: generate the assets, build the pack from them, and derive the pack
# length that the program is compiled with.
set(ASSET_DIR ${CMAKE_BINARY_DIR}/assets)
set(MODEL_DIR ${CMAKE_BINARY_DIR}/Data)
set(PACK_FILE ${CMAKE_BINARY_DIR}/vernalis.pack)

include(${CMAKE_SOURCE_DIR}/cmake/asset_list.cmake)

list(TRANSFORM PACK_ENTRIES PREPEND ${ASSET_DIR}/ OUTPUT_VARIABLE ASSET_OUTPUTS)
list(TRANSFORM MODEL_FILES PREPEND ${MODEL_DIR}/ OUTPUT_VARIABLE MODEL_OUTPUTS)

add_library(assetgen_lib STATIC
  tools/assetgen/face_paint.cpp tools/assetgen/font.cpp tools/assetgen/icon.cpp tools/assetgen/loudness.cpp
  tools/assetgen/mastering.cpp tools/assetgen/max3ds_writer.cpp tools/assetgen/models.cpp
  tools/assetgen/mp3_encode.cpp tools/assetgen/procedural.cpp tools/assetgen/soundtrack.cpp
  tools/assetgen/synth.cpp tools/assetgen/textures.cpp tools/assetgen/textures_sprites.cpp
  tools/assetgen/textures_tiles.cpp tools/assetgen/tga_writer.cpp)
target_include_directories(assetgen_lib PUBLIC tools src)
target_link_libraries(assetgen_lib PUBLIC ${MP3LAME_LIBRARY})
add_executable(assetgen tools/assetgen/main.cpp)
target_link_libraries(assetgen PRIVATE assetgen_lib)

add_custom_command(OUTPUT ${ASSET_OUTPUTS} ${MODEL_OUTPUTS}
  COMMAND assetgen ${ASSET_DIR} ${MODEL_DIR}
  DEPENDS assetgen
  COMMENT "Generating textures, models and the soundtrack")
add_custom_target(models DEPENDS ${MODEL_OUTPUTS})

add_executable(packbuild tools/packbuild/packbuild.cpp src/pack/tpack_write.cpp)
target_include_directories(packbuild PRIVATE src)
add_custom_command(OUTPUT ${PACK_FILE}
  COMMAND packbuild ${PACK_FILE} ${ASSET_DIR} ${PACK_ENTRIES}
  DEPENDS packbuild ${ASSET_OUTPUTS}
  COMMENT "Building the pack")
add_custom_target(pack DEPENDS ${PACK_FILE})

include(${CMAKE_SOURCE_DIR}/cmake/pack_program.cmake)

# The desktop icon of the installed demo (scripts/release.sh).
set(ICON_FILE ${CMAKE_BINARY_DIR}/vernalis.svg)
add_custom_command(OUTPUT ${ICON_FILE}
  COMMAND assetgen --icon ${ICON_FILE}
  DEPENDS assetgen
  COMMENT "Drawing the desktop icon")
add_custom_target(icon DEPENDS ${ICON_FILE})
