# What the installation adds on Linux and other POSIX systems, laid out as Debian wants it: manual
# pages compressed, a lower-case tessmark beside Tessmark, and in each package's document folder
# its copyright file (made from LICENSE) and changelog. Files made here go to <build>/dist; the
# images and compressed files are byte for byte the same in every build of the same sources.
set(dist ${PROJECT_BINARY_DIR}/dist)
set(doc share/doc)
set(man share/man/man1)
set(made)

# gzip -n: neither the file's name nor its time goes into the compressed file.
function(tessmark_compress source name)
  add_custom_command(OUTPUT ${dist}/${name}.gz
    COMMAND ${CMAKE_COMMAND} -E copy ${source} ${dist}/${name}
    COMMAND gzip -9nf ${dist}/${name}
    DEPENDS ${source} VERBATIM)
  set(made ${made} ${dist}/${name}.gz PARENT_SCOPE)
endfunction()

# Stripped as Debian strips its programs: without the compiler's .comment section either.
function(tessmark_strip_comment program component)
  install(CODE "if(CMAKE_INSTALL_DO_STRIP)
    execute_process(COMMAND \"${CMAKE_OBJCOPY}\" --remove-section=.comment
      \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/bin/${program}\" COMMAND_ERROR_IS_FATAL ANY)
  endif()" COMPONENT ${component})
endfunction()

# Debian's copyright format, with the terms of LICENSE (its "Expat" is the MIT licence).
file(READ ${PROJECT_SOURCE_DIR}/LICENSE licence)
string(REGEX MATCH "Copyright \\(c\\) ([^\n]+)\n\n(.*[^\n])" _ "${licence}")
set(holder ${CMAKE_MATCH_1})
string(REPLACE "\n\n" "\n.\n" terms "${CMAKE_MATCH_2}")
string(REPLACE "\n" "\n " terms "${terms}")
file(CONFIGURE OUTPUT ${dist}/copyright @ONLY CONTENT [=[
Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/
Upstream-Name: Tessmark

Files: *
Copyright: @holder@
License: Expat
 @terms@
]=])

tessmark_compress(${PROJECT_SOURCE_DIR}/dist/Tessmark.1 Tessmark.1)
tessmark_compress(${PROJECT_SOURCE_DIR}/dist/changelog changelog.Debian)
tessmark_strip_comment(Tessmark tessmark)
file(CREATE_LINK Tessmark ${dist}/tessmark SYMBOLIC)
file(CREATE_LINK Tessmark.1.gz ${dist}/tessmark.1.gz SYMBOLIC)
install(FILES ${dist}/tessmark DESTINATION bin COMPONENT tessmark)
install(FILES ${dist}/Tessmark.1.gz ${dist}/tessmark.1.gz DESTINATION ${man} COMPONENT tessmark)
install(FILES ${PROJECT_SOURCE_DIR}/README.md ${dist}/copyright ${dist}/changelog.Debian.gz
        DESTINATION ${doc}/tessmark COMPONENT tessmark)
# Debian's own files, left out of a plain installation.
install(FILES ${PROJECT_SOURCE_DIR}/dist/tessmark.lintian-overrides
        DESTINATION share/lintian/overrides RENAME tessmark COMPONENT tessmark EXCLUDE_FROM_ALL)

if(TARGET tessmark-wizard)
  tessmark_compress(${PROJECT_SOURCE_DIR}/dist/tessmark-wizard.1 tessmark-wizard.1)
  set(svg ${PROJECT_SOURCE_DIR}/dist/tessmark-wizard.svg)
  set(icons share/icons/hicolor)
  install(FILES ${dist}/tessmark-wizard.1.gz DESTINATION ${man} COMPONENT wizard)
  install(FILES ${PROJECT_SOURCE_DIR}/dist/tessmark-wizard.desktop DESTINATION share/applications
          COMPONENT wizard)
  install(FILES ${svg} DESTINATION ${icons}/scalable/apps COMPONENT wizard)
  install(FILES ${dist}/copyright ${dist}/changelog.Debian.gz DESTINATION ${doc}/tessmark-wizard
          COMPONENT wizard)
  install(FILES ${PROJECT_SOURCE_DIR}/dist/tessmark-wizard.lintian-overrides
          DESTINATION share/lintian/overrides RENAME tessmark-wizard COMPONENT wizard EXCLUDE_FROM_ALL)
  tessmark_strip_comment(tessmark-wizard wizard)
  # The 48x48 picture that menus without SVG support look for (librsvg2-bin).
  find_program(TESSMARK_RSVG_CONVERT rsvg-convert)
  if(TESSMARK_RSVG_CONVERT)
    add_custom_command(OUTPUT ${dist}/tessmark-wizard.png
      COMMAND ${TESSMARK_RSVG_CONVERT} -w 48 -h 48 -o ${dist}/tessmark-wizard.png ${svg}
      DEPENDS ${svg} VERBATIM)
    list(APPEND made ${dist}/tessmark-wizard.png)
    install(FILES ${dist}/tessmark-wizard.png DESTINATION ${icons}/48x48/apps COMPONENT wizard)
  else()
    message(STATUS "No 48x48 icon for the wizard: rsvg-convert (package librsvg2-bin) not found")
  endif()
endif()
add_custom_target(tessmark_dist ALL DEPENDS ${made})
