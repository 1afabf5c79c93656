# PACK_ENTRIES (the pack's entries in directory order) and MODEL_FILES, from the one asset
# list; read by the Linux build's asset rules and by the Windows build.
set(ASSET_LIST ${CMAKE_SOURCE_DIR}/tools/assetgen/assets.def)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${ASSET_LIST})
file(STRINGS ${ASSET_LIST} asset_lines REGEX "^[A-Z_]+\\(\"")
set(PACK_ENTRIES)
set(MODEL_FILES)
foreach(line IN LISTS asset_lines)
  string(REGEX MATCH "^([A-Z_]+)\\(\"([^\"]+)\"" matched "${line}")
  if(CMAKE_MATCH_1 STREQUAL "MODEL_FILE")
    list(APPEND MODEL_FILES ${CMAKE_MATCH_2})
  else()
    list(APPEND PACK_ENTRIES ${CMAKE_MATCH_2})
  endif()
endforeach()

