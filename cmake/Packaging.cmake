# Installation and the distributable packages.
#   cmake --install <build> [--strip] --prefix <folder>
#       Tessmark (Tessmark.exe) in bin/ and the README; on Windows the LICENSE beside them, on Linux
#       and other POSIX systems the tessmark link, the wizard, the manual pages, desktop entry,
#       icons and the licence as Debian's copyright file
#   cmake --build <build> --target package
#       the same packed into Tessmark-<version>-<system>.zip and, on Linux, the Debian packages
#       tessmark_<version>-1_<arch>.deb and tessmark-wizard_<version>-1_<arch>.deb
# The two install components are the two Debian packages: tessmark, the converter, which needs
# only the C and C++ runtimes, and wizard, tessmark-wizard with everything Qt brings.
# For Windows the zip comes from the cross build (cmake/mingw-w64-x86_64.cmake) or a native one.
if(WIN32)
  # The MIT licence asks for its notice with every copy, so the zip carries it as it is.
  install(FILES ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION .
          COMPONENT tessmark)
else()
  include(cmake/InstallUnix.cmake)
endif()

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME Tessmark)
set(CPACK_PACKAGE_VENDOR Tessmark)
set(CPACK_PACKAGE_FILE_NAME Tessmark-${PROJECT_VERSION}-${CMAKE_SYSTEM_NAME})
set(CPACK_STRIP_FILES ON)

# The Debian packages. Their dependencies come from the binaries (dpkg-shlibdeps, in dpkg-dev):
# without that tool a package would claim none, so they are then not made at all.
find_program(TESSMARK_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(CMAKE_SYSTEM_NAME STREQUAL "Linux" AND TESSMARK_DPKG_SHLIBDEPS)
  list(APPEND CPACK_GENERATOR DEB)
  set(CPACK_DEB_COMPONENT_INSTALL ON)
  set(CPACK_COMPONENTS_ALL tessmark)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
  set(CPACK_DEBIAN_PACKAGE_SOURCE tessmark)
  set(CPACK_DEBIAN_PACKAGE_SECTION devel)
  set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Tessmark developers <tessmark@example.org>")
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
  set(CPACK_DEBIAN_TESSMARK_PACKAGE_NAME tessmark)
  set(CPACK_DEBIAN_TESSMARK_DESCRIPTION [=[
convert IAR Embedded Workbench projects into Korval projects
Tessmark turns an IAR Embedded Workbench workspace (.eww) or project (.ewp)
into a project for the Korval static analyser: the project file listing the
sources folder by folder, a folder tree for Korval's output, and personality
files that carry each build configuration's include paths and defines.
.
This package holds the console converter, which needs no graphical toolkit.
The wizard is in the package tessmark-wizard.]=])
  if(TARGET tessmark-wizard)
    list(APPEND CPACK_COMPONENTS_ALL wizard)
    set(CPACK_DEBIAN_WIZARD_PACKAGE_NAME tessmark-wizard)
    # The same version of the converter, which the wizard runs.
    set(CPACK_COMPONENT_WIZARD_DEPENDS tessmark)
    set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)
    set(CPACK_DEBIAN_WIZARD_DESCRIPTION [=[
wizard for converting IAR Embedded Workbench projects into Korval projects
tessmark-wizard is a four-page Qt 6 wizard around the converter Tessmark: it
collects the IAR workspace or project, the IAR installation folder, the
destination and the optional personalities and file extensions, checks the
paths as they are typed, runs the converter and shows its log.]=])
  endif()
elseif(CMAKE_SYSTEM_NAME STREQUAL "Linux")
  message(STATUS "No Debian packages: dpkg-shlibdeps (package dpkg-dev) was not found")
endif()
include(CPack)
