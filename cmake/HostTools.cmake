# The art generators run on the build machine. In the native build they are
# ordinary targets; in the Windows cross build they are compiled with the
# host's C++ compiler, since a Windows program cannot run during the build.
# Their PNGs are compressed by the host's zlib (zlib1g-dev).
if(CMAKE_CROSSCOMPILING)
  find_program(HOST_CXX NAMES g++ c++ REQUIRED)
else()
  find_package(ZLIB REQUIRED)
endif()

# tsweeper_host_tool(<name> <source>...) sets <name>_PATH to the program.
function(tsweeper_host_tool name)
  set(sources ${ARGN})
  if(CMAKE_CROSSCOMPILING)
    set(program ${CMAKE_BINARY_DIR}/host/${name})
    set(full_sources)
    foreach(source ${sources})
      list(APPEND full_sources ${PROJECT_SOURCE_DIR}/${source})
    endforeach()
    file(GLOB tool_headers ${PROJECT_SOURCE_DIR}/tools/*.h)
    add_custom_command(OUTPUT ${program}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/host
      COMMAND ${HOST_CXX} -std=c++17 -O2 -Wall -Wextra -Werror -I${PROJECT_SOURCE_DIR}
              -o ${program} ${full_sources} -lz
      DEPENDS ${full_sources} ${tool_headers}
      COMMENT "Building host tool ${name}")
    add_custom_target(${name} DEPENDS ${program})
    set(${name}_PATH ${program} PARENT_SCOPE)
  else()
    add_executable(${name} ${sources})
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} PRIVATE ZLIB::ZLIB)
    tsweeper_warnings(${name})
    set(${name}_PATH $<TARGET_FILE:${name}> PARENT_SCOPE)
  endif()
endfunction()
