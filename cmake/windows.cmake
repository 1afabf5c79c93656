# The Windows build, cross-compiled (cmake/mingw-w64.cmake): the same sources with the
# Windows backend (src/platform/win32), the pack and models made by a Linux build of this
# tree (VERNALIS_HOST_BUILD, which has run assetgen and packbuild), and the window-free unit
# tests on GoogleTest's sources. Everything the C++ runtime needs is linked in, so the
# program imports system DLLs only.
set(HOST_BUILD "" CACHE PATH "Linux build folder holding vernalis.pack and Data/")
if(NOT EXISTS "${HOST_BUILD}/vernalis.pack")
  message(FATAL_ERROR "HOST_BUILD must name a Linux build folder with vernalis.pack")
endif()
set(PACK_FILE ${HOST_BUILD}/vernalis.pack)
include(${CMAKE_SOURCE_DIR}/cmake/asset_list.cmake)

add_compile_definitions(_WIN32_WINNT=0x0601)
add_link_options(-static -static-libgcc -static-libstdc++)

add_library(vernalis_core STATIC ${PLATFORM_COMMON_SOURCES} ${PLATFORM_WIN32_SOURCES} ${SYSTEM_SOURCES})
target_include_directories(vernalis_core PUBLIC src)
target_link_libraries(vernalis_core PUBLIC glu32 opengl32 msacm32 winmm gdi32 user32)
if(TPACK_DEBUG)
  target_compile_definitions(vernalis_core PUBLIC TPACK_DEBUG=1)
endif()

include(${CMAKE_SOURCE_DIR}/cmake/pack_program.cmake)

# A GUI program: no console window opens when it is started from Explorer.
add_executable(vernalis WIN32 src/shell/entry.cpp ${TPACK_SIZE_SOURCE})
target_link_libraries(vernalis PRIVATE vernalis_core)
append_pack(vernalis vernalis.exe)

list(TRANSFORM MODEL_FILES PREPEND ${HOST_BUILD}/Data/ OUTPUT_VARIABLE MODEL_SOURCES)
set(MODEL_OUTPUTS)
foreach(model ${MODEL_FILES})
  list(APPEND MODEL_OUTPUTS ${CMAKE_BINARY_DIR}/Data/${model})
endforeach()
add_custom_command(OUTPUT ${MODEL_OUTPUTS}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/Data
  COMMAND ${CMAKE_COMMAND} -E copy ${MODEL_SOURCES} ${CMAKE_BINARY_DIR}/Data/
  DEPENDS ${MODEL_SOURCES}
  COMMENT "Copying the models")
set(ZIP_FILE ${CMAKE_BINARY_DIR}/vernalis-windows.zip)
list(SORT MODEL_FILES)
list(TRANSFORM MODEL_FILES PREPEND Data/ OUTPUT_VARIABLE ZIP_MODELS)
add_custom_command(OUTPUT ${ZIP_FILE}
  COMMAND sh ${CMAKE_SOURCE_DIR}/cmake/reproducible_zip.sh ${ZIP_FILE} vernalis.exe ${ZIP_MODELS}
  WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
  DEPENDS vernalis ${MODEL_OUTPUTS} ${CMAKE_SOURCE_DIR}/cmake/reproducible_zip.sh
  COMMENT "Packing vernalis-windows.zip")
add_custom_target(windows_zip ALL DEPENDS ${ZIP_FILE})

option(VERNALIS_WINDOWS_TESTS "Build the window-free unit tests (GoogleTest from /usr/src/googletest)" ON)
if(VERNALIS_WINDOWS_TESTS)
  set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  add_executable(vernalis_tests tests/windows/windows_support.cpp
    tests/windows/windows_audio_test.cpp tests/windows/windows_msgbox_test.cpp
    tests/platform/mp3_tag_test.cpp tests/pack/tpack_reader_test.cpp
    tests/loaders/chunk3ds_test.cpp)
  target_include_directories(vernalis_tests PRIVATE tests)
  target_link_libraries(vernalis_tests PRIVATE vernalis_core gtest_main)
endif()
