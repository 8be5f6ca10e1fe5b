# Windows' version resource (VERSIONINFO) of a program, from a .rc template: windres compiles it
# in the mingw-w64 builds, rc in Visual Studio's. The template gets
#   @PROJECT_VERSION@            the version as text, 1.0
#   @TESSMARK_VERSION_NUMBERS@   the same as the four numbers VERSIONINFO wants, 1,0,0,0
#   @TESSMARK_COPYRIGHT@         the copyright line of LICENSE
#   @TESSMARK_HOLDER@            its holder, without the year
enable_language(RC)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/LICENSE)

function(tessmark_version_resource target template)
  string(REPLACE "." ";" numbers ${PROJECT_VERSION})
  list(LENGTH numbers count)
  while(count LESS 4)
    list(APPEND numbers 0)
    math(EXPR count "${count} + 1")
  endwhile()
  list(JOIN numbers "," TESSMARK_VERSION_NUMBERS)

  file(READ ${PROJECT_SOURCE_DIR}/LICENSE licence)
  if(NOT licence MATCHES "(Copyright \\(c\\) [0-9, -]*([^\n]+))")
    message(FATAL_ERROR "LICENSE holds no line \"Copyright (c) <year> <holder>\"")
  endif()
  # A double quote inside an .rc string is written twice.
  string(REPLACE "\"" "\"\"" TESSMARK_COPYRIGHT "${CMAKE_MATCH_1}")
  string(REPLACE "\"" "\"\"" TESSMARK_HOLDER "${CMAKE_MATCH_2}")

  get_filename_component(name ${template} NAME_WLE)
  configure_file(${template} ${CMAKE_CURRENT_BINARY_DIR}/${name} @ONLY)
  target_sources(${target} PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/${name})
endfunction()
