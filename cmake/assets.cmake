# Build-time media: generate the assets, build the pack from them, and derive the pack
# length that the program is compiled with.
set(ASSET_DIR ${CMAKE_BINARY_DIR}/assets)
set(MODEL_DIR ${CMAKE_BINARY_DIR}/Data)
set(PACK_FILE ${CMAKE_BINARY_DIR}/vernalis.pack)

# Pack entries in directory order; "spring.tga" is the image that nothing looks up.
set(PACK_ENTRIES
  blue2.tga blue.tga caratio1.tga Zozivuv.mp3 Ground1.tga hidden.tga spring.tga
  Particle.tga env1.tga pictra2.tga credits.tga pictra4.tga sky1.tga metal.tga
  pictra1.tga pictra3.tga BigFlare.tga)
set(MODEL_FILES CaraTio1.3DS Galaxy.3DS Nudo.3DS Tubo.3ds cara1.3DS cara2.3DS)

list(TRANSFORM PACK_ENTRIES PREPEND ${ASSET_DIR}/ OUTPUT_VARIABLE ASSET_OUTPUTS)
list(TRANSFORM MODEL_FILES PREPEND ${MODEL_DIR}/ OUTPUT_VARIABLE MODEL_OUTPUTS)

file(GLOB ASSETGEN_SOURCES CONFIGURE_DEPENDS tools/assetgen/*.cpp)
list(FILTER ASSETGEN_SOURCES EXCLUDE REGEX "tools/assetgen/main\\.cpp$")
add_library(assetgen_lib STATIC ${ASSETGEN_SOURCES})
target_include_directories(assetgen_lib PUBLIC tools)
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

set(TPACK_SIZE_SOURCE ${CMAKE_BINARY_DIR}/generated/tpack_size.cpp)
add_custom_command(OUTPUT ${TPACK_SIZE_SOURCE}
  COMMAND ${CMAKE_COMMAND} -DPACK=${PACK_FILE} -DOUT=${TPACK_SIZE_SOURCE}
          -P ${CMAKE_SOURCE_DIR}/cmake/tpack_size.cmake
  DEPENDS ${PACK_FILE} ${CMAKE_SOURCE_DIR}/cmake/tpack_size.cmake
  COMMENT "Deriving TPACK_SIZE from the pack")
