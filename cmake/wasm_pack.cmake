# Appends the pack to a .wasm as its last custom section, named "vernalis.pack": the module
# stays valid and the file's last bytes are the pack, as the pack reader expects.
# cmake -DWASM=... -DPACK=... -P wasm_pack.cmake
set(NAME "vernalis.pack")
string(LENGTH "${NAME}" name_length)
file(SIZE "${PACK}" pack_size)
math(EXPR payload "1 + ${name_length} + ${pack_size}")

# The section header: id 0, then the payload's length as unsigned LEB128, then the name's.
set(bytes "\\000")
set(value ${payload})
foreach(unused RANGE 4)  # 32 bits take at most five bytes
  math(EXPR byte "${value} & 127")
  math(EXPR value "${value} >> 7")
  if(value GREATER 0)
    math(EXPR byte "${byte} | 128")
  endif()
  math(EXPR d2 "${byte} / 64")
  math(EXPR d1 "(${byte} / 8) % 8")
  math(EXPR d0 "${byte} % 8")
  string(APPEND bytes "\\${d2}${d1}${d0}")
  if(value EQUAL 0)
    break()
  endif()
endforeach()
math(EXPR d1 "${name_length} / 8")
math(EXPR d0 "${name_length} % 8")
string(APPEND bytes "\\0${d1}${d0}${NAME}")
execute_process(COMMAND sh -c "printf '${bytes}' >> \"$0\" && cat \"$1\" >> \"$0\"" "${WASM}" "${PACK}"
                RESULT_VARIABLE failed)
if(failed)
  file(REMOVE "${WASM}")
  message(FATAL_ERROR "could not append ${PACK} to ${WASM}")
endif()
