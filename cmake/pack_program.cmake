# What every build of the demo does around its pack, Linux or Windows: TPACK_SIZE derived from
# the built pack into a generated source (TPACK_SIZE_SOURCE), and the pack appended behind a
# linked program.
set(TPACK_SIZE_SOURCE ${CMAKE_BINARY_DIR}/generated/tpack_size.cpp)
add_custom_command(OUTPUT ${TPACK_SIZE_SOURCE}
  COMMAND ${CMAKE_COMMAND} -DPACK=${PACK_FILE} -DOUT=${TPACK_SIZE_SOURCE}
          -P ${CMAKE_SOURCE_DIR}/cmake/tpack_size.cmake
  DEPENDS ${PACK_FILE} ${CMAKE_SOURCE_DIR}/cmake/tpack_size.cmake
  COMMENT "Deriving TPACK_SIZE from the pack")

# append_pack(TARGET NAME): NAME is the program's file name, for the build's message.
function(append_pack target name)
  set_target_properties(${target} PROPERTIES LINK_DEPENDS ${PACK_FILE})
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND sh -c "cat \"$0\" >> \"$1\"" ${PACK_FILE} $<TARGET_FILE:${target}>
    COMMENT "Appending the pack to ${name}"
    VERBATIM)
endfunction()
