# Build for WebAssembly with Debian's Emscripten (package emscripten); the
# tests run the program under Node.js. Debian's emcc finds its JavaScript
# modules only with NODE_PATH=/usr/share/nodejs in the environment (the
# preset `web` sets it):
#
#   NODE_PATH=/usr/share/nodejs cmake -S . -B build-web \
#     -DCMAKE_TOOLCHAIN_FILE=cmake/emscripten.cmake
include(/usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake)

find_program(VORN_NODE NAMES node nodejs REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR ${VORN_NODE})

# Every program here is a Node.js command like a native one: real files
# (NODERAWFS), its exit status handed to Node.js (EXIT_RUNTIME), and the
# WebAssembly inside the .js, since Node 20's fetch breaks how this
# Emscripten loads a separate .wasm file. The web page's module (web/)
# turns NODERAWFS off and keeps the rest; it depends on SINGLE_FILE staying
# on, as a page opened from file:// can fetch no .wasm file beside it.
# emscripten-node.js lets a FIFO be refused without waiting.
set(CMAKE_EXE_LINKER_FLAGS_INIT
    "-sNODERAWFS=1 -sEXIT_RUNTIME=1 -sSINGLE_FILE=1 -sALLOW_MEMORY_GROWTH=1 \
--pre-js ${CMAKE_CURRENT_LIST_DIR}/emscripten-node.js")
