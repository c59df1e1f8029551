# The built-in tile strip and the icon are drawn as text in resources/ and
# turned into a BMP and an ICO at build time.
tsweeper_host_tool(make_tiles tools/make_tiles.cpp tools/tile_art.cpp)
tsweeper_host_tool(make_icon tools/make_icon.cpp tools/tile_art.cpp)

set(GENERATED_DIR ${CMAKE_BINARY_DIR}/generated)
set(TILES_BMP ${GENERATED_DIR}/tiles.bmp)
set(ICON_ICO ${GENERATED_DIR}/tsweeper.ico)

add_custom_command(OUTPUT ${TILES_BMP}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${GENERATED_DIR}
  COMMAND ${make_tiles_PATH} ${PROJECT_SOURCE_DIR}/resources/tiles.txt ${TILES_BMP}
  DEPENDS make_tiles ${make_tiles_PATH} ${PROJECT_SOURCE_DIR}/resources/tiles.txt
  COMMENT "Drawing the tile strip")
add_custom_command(OUTPUT ${ICON_ICO}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${GENERATED_DIR}
  COMMAND ${make_icon_PATH} ${PROJECT_SOURCE_DIR}/resources/icon.txt ${ICON_ICO}
  DEPENDS make_icon ${make_icon_PATH} ${PROJECT_SOURCE_DIR}/resources/icon.txt
  COMMENT "Drawing the icon")
add_custom_target(generated_art ALL DEPENDS ${TILES_BMP} ${ICON_ICO})
