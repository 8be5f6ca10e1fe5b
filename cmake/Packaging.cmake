# Installation and the distributable packages.
#   cmake --install <build> --prefix <folder>      Tessmark (Tessmark.exe) in bin/, the README;
#                                                  on Linux and other POSIX systems also the
#                                                  wizard, the manual page, desktop entry and icon
#   cmake --build <build> --target package         the same packed into
#                                                  Tessmark-<version>-<system>.zip and, on Linux,
#                                                  tessmark_<version>_<arch>.deb
# For Windows the zip comes from the cross build (cmake/mingw-w64-x86_64.cmake) or a native one.
if(WIN32)
  set(TESSMARK_README_DESTINATION .)
else()
  # Debian keeps a package's documents under its (lower-case) package name.
  set(TESSMARK_README_DESTINATION share/doc/tessmark)
  set(TESSMARK_DIST_DIR ${PROJECT_SOURCE_DIR}/dist)
  install(FILES ${TESSMARK_DIST_DIR}/Tessmark.1 DESTINATION share/man/man1)
  if(TARGET tessmark-wizard)
    install(FILES ${TESSMARK_DIST_DIR}/tessmark-wizard.desktop DESTINATION share/applications)
    install(FILES ${TESSMARK_DIST_DIR}/tessmark-wizard.svg
            DESTINATION share/icons/hicolor/scalable/apps)
  endif()
endif()
install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION ${TESSMARK_README_DESTINATION}
        OPTIONAL)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME Tessmark)
set(CPACK_PACKAGE_VENDOR Tessmark)
set(CPACK_PACKAGE_FILE_NAME Tessmark-${PROJECT_VERSION}-${CMAKE_SYSTEM_NAME})
set(CPACK_STRIP_FILES ON)

# The Debian package. Its dependencies come from the binaries (dpkg-shlibdeps, in dpkg-dev):
# without that tool the package would claim none, so it is then not made at all.
find_program(TESSMARK_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(CMAKE_SYSTEM_NAME STREQUAL "Linux" AND TESSMARK_DPKG_SHLIBDEPS)
  list(APPEND CPACK_GENERATOR DEB)
  set(CPACK_DEBIAN_PACKAGE_NAME tessmark)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION devel)
  set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Tessmark developers <tessmark@example.org>")
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
      "convert IAR Embedded Workbench projects into Korval projects")
  set(CPACK_PACKAGE_DESCRIPTION [=[
Tessmark turns an IAR Embedded Workbench workspace (.eww) or project (.ewp)
into a project for the Korval static analyser: the project file listing the
sources folder by folder, a folder tree for Korval's output, and personality
files that carry each build configuration's include paths and defines.]=])
  if(TARGET tessmark-wizard)
    string(APPEND CPACK_PACKAGE_DESCRIPTION "\n\n" [=[
Besides the console converter Tessmark, the package holds tessmark-wizard, a
Qt 6 wizard that collects the same inputs, runs the converter and shows its log.]=])
  endif()
elseif(CMAKE_SYSTEM_NAME STREQUAL "Linux")
  message(STATUS "No Debian package: dpkg-shlibdeps (package dpkg-dev) was not found")
endif()
include(CPack)
