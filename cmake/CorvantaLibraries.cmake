# One library per subsystem folder, and the layers between them enforced by the build.
#
# No library has src/ as an include directory.  Each library gets an include root of its own in
# the build tree holding only its folder (a symbolic link, or links to the headers it names),
# so `#include "sales/SalesEntryForm.h"` compiles only in a library that links corvanta_sales:
# an include of a folder a library does not link fails to build.  The window libraries link no
# Qt at all, so a Qt Widgets include there fails too; the layer tests below prove both.

# corvanta_library(<name> FOLDER <folder> [INTERFACE] [SOURCES <file>...]
#                  [HEADERS <header>...] [LINKS <target>...] [PRIVATE_LINKS <target>...])
#   FOLDER   the name the folder's headers are included under ("data" for "data/...").
#   HEADERS  only these headers of the folder are reachable (a folder split into two
#            libraries); without it, the whole folder.
#   LINKS    what the library's own headers need, passed on to every library linking it;
#            PRIVATE_LINKS what only its sources need.
function(corvanta_library name)
  cmake_parse_arguments(PARSE_ARGV 1 arg "INTERFACE" "FOLDER" "SOURCES;HEADERS;LINKS;PRIVATE_LINKS")
  set(root "${CMAKE_BINARY_DIR}/include/${name}")
  file(REMOVE_RECURSE "${root}")
  if(arg_HEADERS)
    foreach(header IN LISTS arg_HEADERS)
      set(link "${root}/${arg_FOLDER}/${header}")
      get_filename_component(dir "${link}" DIRECTORY)
      file(MAKE_DIRECTORY "${dir}")
      file(CREATE_LINK "${CMAKE_CURRENT_SOURCE_DIR}/${header}" "${link}" SYMBOLIC)
    endforeach()
  else()
    file(MAKE_DIRECTORY "${root}")
    file(CREATE_LINK "${CMAKE_CURRENT_SOURCE_DIR}" "${root}/${arg_FOLDER}" SYMBOLIC)
  endif()
  if(arg_INTERFACE)
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE "${root}")
    target_link_libraries(${name} INTERFACE ${arg_LINKS})
  else()
    add_library(${name} STATIC ${arg_SOURCES})
    target_include_directories(${name} PUBLIC "${root}")
    target_link_libraries(${name} PUBLIC ${arg_LINKS} PRIVATE ${arg_PRIVATE_LINKS})
  endif()
endfunction()

# corvanta_window_library(<name> SOURCES <file>... [REACHES <window library>...])
# The window models of one folder.  They reach the application object (app/CorvantaApp.h,
# and through it the framework, the data layer and the report components); REACHES names the
# other window folders whose headers they include.
function(corvanta_window_library name)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "SOURCES;REACHES")
  get_filename_component(folder "${CMAKE_CURRENT_SOURCE_DIR}" NAME)
  corvanta_library(${name} FOLDER ${folder} SOURCES ${arg_SOURCES}
                   LINKS corvanta_app ${arg_REACHES})
  corvanta_layer_check(${name} "QtWidgets/QWidget" FAILS)
endfunction()

# corvanta_layer_check(<library> <header> FAILS|BUILDS)
# A test that compiles `#include <header>` as a source of a library linking <library>, and
# expects it to fail with the header not found (FAILS) or to build (BUILDS).
function(corvanta_layer_check library header expectation)
  string(MAKE_C_IDENTIFIER "${header}" id)
  set(probe "layer_probe_${library}_${id}")
  set(source "${CMAKE_BINARY_DIR}/layer-probes/${probe}.cpp")
  set(text "#include <${header}>\n")
  if(EXISTS "${source}")
    file(READ "${source}" old)
  endif()
  if(NOT old STREQUAL text)
    file(WRITE "${source}" "${text}")
  endif()
  add_library(${probe} OBJECT EXCLUDE_FROM_ALL "${source}")
  target_link_libraries(${probe} PRIVATE ${library})
  add_test(NAME layers.${library}.${id}
           COMMAND ${CMAKE_COMMAND} --build ${CMAKE_BINARY_DIR} --target ${probe})
  if(expectation STREQUAL "FAILS")
    string(REPLACE "." "\\." pattern "${header}: No such file or directory")
    set_tests_properties(layers.${library}.${id} PROPERTIES PASS_REGULAR_EXPRESSION "${pattern}")
  else()
    set_tests_properties(layers.${library}.${id} PROPERTIES FAIL_REGULAR_EXPRESSION "error")
  endif()
  # One build of the tree at a time.
  set_tests_properties(layers.${library}.${id} PROPERTIES RESOURCE_LOCK build-tree LABELS layers)
endfunction()
