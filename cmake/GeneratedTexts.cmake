# The program's texts live once, in resources/texts.txt (UTF-8); the exe's
# Shift-JIS byte strings, its version resource's strings and the page's
# strings are generated from it, with the project's version number.
find_package(Python3 REQUIRED COMPONENTS Interpreter)

set(TEXTS_SOURCE ${PROJECT_SOURCE_DIR}/resources/texts.txt)
set(TEXTS_TOOL ${PROJECT_SOURCE_DIR}/tools/make_texts.py)
set(TEXTS_CPP ${CMAKE_BINARY_DIR}/generated/texts_sjis.cpp)
set(TEXTS_JSON ${CMAKE_BINARY_DIR}/generated/texts.json)
set(TEXTS_RC ${CMAKE_BINARY_DIR}/generated/texts_rc.h)
# What a screen reader hears: the texts' numbers for the platform-free
# reading of the board, and the exe's UTF-16 copies of them.
set(TEXTS_READER ${CMAKE_BINARY_DIR}/generated/reader_texts.h)
set(TEXTS_WIDE ${CMAKE_BINARY_DIR}/generated/reader_texts_wide.cpp)

foreach(kind cpp json rc reader wide)
  string(TOUPPER ${kind} upper)
  add_custom_command(OUTPUT ${TEXTS_${upper}}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/generated
    COMMAND ${Python3_EXECUTABLE} -B ${TEXTS_TOOL} ${TEXTS_SOURCE} ${PROJECT_VERSION} --${kind} ${TEXTS_${upper}}
    DEPENDS ${TEXTS_SOURCE} ${TEXTS_TOOL} ${PROJECT_SOURCE_DIR}/tools/generated_file.py
    COMMENT "Writing the texts (${kind})")
endforeach()
add_custom_target(generated_texts ALL DEPENDS ${TEXTS_CPP} ${TEXTS_JSON} ${TEXTS_RC} ${TEXTS_READER} ${TEXTS_WIDE})
