# The browser build (Emscripten): the same sources with the web backend (src/platform/web) and
# the fixed-function GL layer over WebGL, the pack and models made by a Linux build of this tree
# (HOST_BUILD, which has run assetgen, packbuild and the caption outlines). The site goes to
# site/: the page, its script, vernalis.wasm with the pack as its last custom section, Data/.
set(HOST_BUILD "" CACHE PATH "Linux build folder holding vernalis-web.pack and Data/")
if(NOT EXISTS "${HOST_BUILD}/vernalis-web.pack")
  message(FATAL_ERROR "HOST_BUILD must name a Linux build folder with vernalis-web.pack")
endif()
set(PACK_FILE ${HOST_BUILD}/vernalis-web.pack)
set(SITE_DIR ${CMAKE_BINARY_DIR}/site)
include(${CMAKE_SOURCE_DIR}/cmake/asset_list.cmake)

set(PLATFORM_WEB_SOURCES
  src/platform/bass_calls.cpp src/platform/bass_mp3.cpp src/platform/msgbox_unseen.cpp
  src/platform/message_queue.cpp src/platform/platform_testing.cpp src/platform/sdl/system.cpp
  src/platform/web/bass.cpp src/platform/web/font.cpp src/platform/web/message.cpp
  src/platform/web/msgbox.cpp src/platform/web/still.cpp
  src/platform/web/window.cpp
  tools/capture/capture_args.cpp tools/capture/capture_bench.cpp tools/capture/capture_catchup.cpp)
include(${CMAKE_SOURCE_DIR}/cmake/gl_layer.cmake)

# Clang warns on a character as an index; KeyState['P'] is how Win32 code reads a key.
add_compile_options(-Wno-char-subscripts)
add_library(vernalis_core STATIC ${PLATFORM_WEB_SOURCES} ${GL_LAYER_SOURCES} ${SYSTEM_SOURCES})
target_include_directories(vernalis_core BEFORE PUBLIC ${GL_LAYER_INCLUDE})
target_include_directories(vernalis_core PUBLIC src tools)
if(TPACK_DEBUG)
  target_compile_definitions(vernalis_core PUBLIC TPACK_DEBUG=1)
endif()

include(${CMAKE_SOURCE_DIR}/cmake/pack_program.cmake)

# The loop yields to the browser at each SwapBuffers and waits on the page (the full-screen
# answer, a question, the decode): Asyncify instruments only the functions on the stack then.
# The optimiser inlines some of them into their one caller first, and the link says it did not
# find those; they stay listed for builds that do not inline them.
set(ASYNC_FUNCTIONS "main" "WinMain*" "MessageLoop*"
  "SwapBuffers*" "CreateDemoWindow*" "EnterFullscreen*" "ChangeDisplaySettingsA*" "MessageBoxA*"
  "DemoInit*" "MusicFromPack*" "BASS_StreamCreateFile*" "Decode*")
set(ASYNC_IMPORTS web_wait_frame web_wait_fullscreen web_wait_answer web_audio_decode)
list(JOIN ASYNC_FUNCTIONS "," async_only)
list(JOIN ASYNC_IMPORTS "," async_imports)
set(LIBRARY_JS ${CMAKE_SOURCE_DIR}/src/platform/web/library_web.js)

# web/system.cpp only names the program file before main: nothing calls into it, so it goes
# into the program itself, where no linker can leave it out as it would from the library.
add_executable(vernalis src/shell/entry.cpp src/platform/web/system.cpp ${TPACK_SIZE_SOURCE})
target_link_libraries(vernalis PRIVATE vernalis_core)
set_target_properties(vernalis PROPERTIES SUFFIX ".js" RUNTIME_OUTPUT_DIRECTORY ${SITE_DIR}
  LINK_DEPENDS "${PACK_FILE};${LIBRARY_JS}")
target_link_options(vernalis PRIVATE -sENVIRONMENT=web -sMIN_WEBGL_VERSION=1 -sMAX_WEBGL_VERSION=1
  -sINITIAL_MEMORY=64MB -sALLOW_MEMORY_GROWTH=1 -sINVOKE_RUN=0
  -sFORCE_FILESYSTEM=1 -sASYNCIFY=1 "-sASYNCIFY_ONLY=[${async_only}]"
  "-sASYNCIFY_IMPORTS=[${async_imports}]" -sASYNCIFY_STACK_SIZE=65536
  "-sEXPORTED_FUNCTIONS=[_main,_WebKey,_WebVisible,_WebStill,_WebBench,_WebPosition]"
  "-sEXPORTED_RUNTIME_METHODS=[FS,ENV,ccall]"
  --js-library ${LIBRARY_JS})
add_custom_command(TARGET vernalis POST_BUILD
  COMMAND ${CMAKE_COMMAND} -DWASM=${SITE_DIR}/vernalis.wasm -DPACK=${PACK_FILE}
          -P ${CMAKE_SOURCE_DIR}/cmake/wasm_pack.cmake
  COMMENT "Appending the pack to vernalis.wasm")

# The page, and the models it puts into the program's file system.
list(TRANSFORM MODEL_FILES PREPEND ${HOST_BUILD}/Data/ OUTPUT_VARIABLE MODEL_SOURCES)
set(PAGE_DIR ${CMAKE_SOURCE_DIR}/src/platform/web/page)
set(SITE_OUTPUTS ${SITE_DIR}/index.html ${SITE_DIR}/page.css ${SITE_DIR}/page.js)
foreach(model ${MODEL_FILES})
  list(APPEND SITE_OUTPUTS ${SITE_DIR}/Data/${model})
endforeach()
list(JOIN MODEL_FILES "\", \"" MODEL_LIST)
configure_file(${PAGE_DIR}/page.js ${CMAKE_BINARY_DIR}/page.js @ONLY)
add_custom_command(OUTPUT ${SITE_OUTPUTS}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${SITE_DIR}/Data
  COMMAND ${CMAKE_COMMAND} -E copy ${PAGE_DIR}/index.html ${PAGE_DIR}/page.css
          ${CMAKE_BINARY_DIR}/page.js ${SITE_DIR}/
  COMMAND ${CMAKE_COMMAND} -E copy ${MODEL_SOURCES} ${SITE_DIR}/Data/
  DEPENDS ${MODEL_SOURCES} ${PAGE_DIR}/index.html ${PAGE_DIR}/page.css ${CMAKE_BINARY_DIR}/page.js
  COMMENT "Copying the page and the models")
set(ZIP_FILE ${CMAKE_BINARY_DIR}/vernalis-web.zip)
list(TRANSFORM MODEL_FILES PREPEND Data/ OUTPUT_VARIABLE SITE_MODELS)
set(SITE_FILES index.html page.css page.js vernalis.js vernalis.wasm ${SITE_MODELS})
add_custom_command(OUTPUT ${ZIP_FILE}
  COMMAND sh ${CMAKE_SOURCE_DIR}/cmake/reproducible_zip.sh ${ZIP_FILE} ${SITE_FILES}
  WORKING_DIRECTORY ${SITE_DIR}
  DEPENDS vernalis ${SITE_OUTPUTS} ${CMAKE_SOURCE_DIR}/cmake/reproducible_zip.sh
  COMMENT "Packing vernalis-web.zip")
add_custom_target(web_site ALL DEPENDS ${ZIP_FILE})
