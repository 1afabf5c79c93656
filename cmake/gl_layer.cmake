# Our fixed-function GL 1.1 layer over GLES 2 / WebGL 1 (src/platform/web/gl_*.cpp, glu.cpp).
# GL_LAYER_SOURCES is what the browser build compiles, with src/platform/web/include first on
# the include path so that <GL/gl.h> and <GL/glu.h> are the layer's. Natively the layer is
# built only for its comparison with Mesa's fixed-function pipeline: the demo uses the real GL.
set(GL_LAYER_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/../src/platform/web/gl_draw.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../src/platform/web/gl_es.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../src/platform/web/gl_light.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../src/platform/web/gl_lists.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../src/platform/web/gl_matrix.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../src/platform/web/gl_shader.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../src/platform/web/gl_state.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../src/platform/web/gl_texture.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../src/platform/web/glu.cpp)
set(GL_LAYER_INCLUDE ${CMAKE_CURRENT_LIST_DIR}/../src/platform/web/include)

if(EMSCRIPTEN OR NOT BUILD_TESTING)
  return()
endif()

# The demo's drawing code (effects, loaders, scenes, timeline) built twice: once on Mesa's GL,
# the reference, and once on the layer, whose GL names would clash with the real library's in
# one program.
find_package(OpenGL REQUIRED COMPONENTS OpenGL EGL)
# Both carry the pack, as the demo does, for the scenes' frames.
set(GL_COMPARE_SOURCES
  src/fx/bspline.cpp src/fx/flash.cpp src/fx/font.cpp src/fx/glow.cpp src/fx/mesh.cpp
  src/fx/particles.cpp src/loaders/chunk3ds.cpp src/loaders/model3ds.cpp src/loaders/tga.cpp
  src/pack/tpack.cpp src/platform/sdl/keep_loaded.cpp src/shell/viewport.cpp
  src/demo/fountain.cpp src/demo/kit.cpp src/demo/timeline.cpp src/demo/scene1.cpp
  src/demo/scene1_overlay.cpp src/demo/scene2.cpp src/demo/scene3.cpp src/demo/scene4.cpp
  src/demo/scene5.cpp src/demo/scene6.cpp src/demo/scene7.cpp ${TPACK_SIZE_SOURCE}
  tests/platform/web/gl_compare_cases.cpp tests/platform/web/gl_compare_main.cpp
  tests/platform/web/gl_compare_scenes.cpp)
add_executable(gl_compare_reference ${GL_COMPARE_SOURCES})
target_include_directories(gl_compare_reference PRIVATE src tests/platform/web)
target_link_libraries(gl_compare_reference PRIVATE OpenGL::GL OpenGL::EGL ${GLU_LIBRARY})
add_executable(gl_compare_layer ${GL_COMPARE_SOURCES} ${GL_LAYER_SOURCES})
target_include_directories(gl_compare_layer BEFORE PRIVATE ${GL_LAYER_INCLUDE})
target_include_directories(gl_compare_layer PRIVATE src tests/platform/web)
target_compile_definitions(gl_compare_layer PRIVATE GL_COMPARE_LAYER=1)
target_link_libraries(gl_compare_layer PRIVATE OpenGL::EGL)
foreach(program gl_compare_reference gl_compare_layer)
  append_pack(${program} ${program})
  add_dependencies(${program} models)
endforeach()
add_test(NAME gl_layer.compare
  COMMAND bash ${CMAKE_SOURCE_DIR}/tests/platform/web/gl_compare.sh
          $<TARGET_FILE:gl_compare_reference> $<TARGET_FILE:gl_compare_layer> ${MODEL_DIR} ${ASSET_DIR}
  WORKING_DIRECTORY ${CMAKE_BINARY_DIR})

# Where emscripten is installed (the browser build's set-up), the layer must also build as wasm.
find_program(EMXX_PROGRAM em++)
find_program(NODE_PROGRAM node)
if(EMXX_PROGRAM AND NODE_PROGRAM)
  add_test(NAME gl_layer.wasm
    COMMAND bash ${CMAKE_SOURCE_DIR}/tests/platform/web/gl_layer_wasm.sh ${CMAKE_SOURCE_DIR})
endif()
