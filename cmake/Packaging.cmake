# Installation and the distributable zip.
#   cmake --install <build> --prefix <folder>      Tessmark (Tessmark.exe) in bin/, the README
#   cmake --build <build> --target package         the same packed into Tessmark-<version>-<system>.zip
# For Windows the zip comes from the cross build (cmake/mingw-w64-x86_64.cmake) or a native one.
if(WIN32)
  set(TESSMARK_README_DESTINATION .)
else()
  set(TESSMARK_README_DESTINATION share/doc/Tessmark)
endif()
install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION ${TESSMARK_README_DESTINATION}
        OPTIONAL)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME Tessmark)
set(CPACK_PACKAGE_VENDOR Tessmark)
set(CPACK_PACKAGE_FILE_NAME Tessmark-${PROJECT_VERSION}-${CMAKE_SYSTEM_NAME})
set(CPACK_STRIP_FILES ON)
include(CPack)
