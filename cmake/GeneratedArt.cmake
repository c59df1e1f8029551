# The built-in tile strip and the icon are drawn as text in resources/ and
# turned into a BMP and an ICO at build time; the icon also into the PNGs of
# the page's web app manifest.
tsweeper_host_tool(make_tiles tools/make_tiles.cpp tools/tile_art.cpp)
tsweeper_host_tool(make_icon tools/make_icon.cpp tools/tile_art.cpp)

set(GENERATED_DIR ${CMAKE_BINARY_DIR}/generated)
set(TILES_BMP ${GENERATED_DIR}/tiles.bmp)
set(ICON_ICO ${GENERATED_DIR}/tsweeper.ico)
set(ICON_PNG_SIZES 192 512)
set(ICON_PNGS)
set(icon_png_arguments)
foreach(size ${ICON_PNG_SIZES})
  list(APPEND ICON_PNGS ${GENERATED_DIR}/icon-${size}.png)
  list(APPEND icon_png_arguments --png ${size} ${GENERATED_DIR}/icon-${size}.png)
endforeach()

add_custom_command(OUTPUT ${TILES_BMP}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${GENERATED_DIR}
  COMMAND ${make_tiles_PATH} ${PROJECT_SOURCE_DIR}/resources/tiles.txt ${TILES_BMP}
  DEPENDS make_tiles ${make_tiles_PATH} ${PROJECT_SOURCE_DIR}/resources/tiles.txt
  COMMENT "Drawing the tile strip")
add_custom_command(OUTPUT ${ICON_ICO} ${ICON_PNGS}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${GENERATED_DIR}
  COMMAND ${make_icon_PATH} ${PROJECT_SOURCE_DIR}/resources/icon.txt ${ICON_ICO} ${icon_png_arguments}
  DEPENDS make_icon ${make_icon_PATH} ${PROJECT_SOURCE_DIR}/resources/icon.txt
  COMMENT "Drawing the icon")
add_custom_target(generated_art ALL DEPENDS ${TILES_BMP} ${ICON_ICO} ${ICON_PNGS})
