# The release: dist/loafix-VERSION-win32.zip with the two programs, README.txt for
# Windows users (made from docs/windows.md) and the licence, both with CR LF line ends
# so that Notepad shows them as written.
#
#   cmake --workflow --preset release
#
# The version is the project version, as in the programs' version resource.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(loafix_platform win32)
else()
  set(loafix_platform win64)
endif()

set(readme_txt ${CMAKE_BINARY_DIR}/release/README.txt)
set(license_txt ${CMAKE_BINARY_DIR}/release/LICENSE.txt)
set(to_text ${PROJECT_SOURCE_DIR}/cmake/TextForWindows.cmake)
add_custom_command(
  OUTPUT ${readme_txt} ${license_txt}
  COMMAND ${CMAKE_COMMAND} -DIN=${PROJECT_SOURCE_DIR}/docs/windows.md -DOUT=${readme_txt}
          -DVERSION=${PROJECT_VERSION} -P ${to_text}
  COMMAND ${CMAKE_COMMAND} -DIN=${PROJECT_SOURCE_DIR}/LICENSE -DOUT=${license_txt} -P ${to_text}
  DEPENDS ${PROJECT_SOURCE_DIR}/docs/windows.md ${PROJECT_SOURCE_DIR}/LICENSE ${to_text}
  COMMENT "README.txt and LICENSE.txt for Windows users")
add_custom_target(windows_readme ALL DEPENDS ${readme_txt} ${license_txt})

install(TARGETS loafix clientsim RUNTIME DESTINATION .)
install(FILES ${readme_txt} ${license_txt} DESTINATION .)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME loafix)
set(CPACK_PACKAGE_VENDOR "the loafix developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME loafix-${PROJECT_VERSION}-${loafix_platform})
# Unpacks into a folder of the same name.
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
# CPack works in a folder of the build; the finished zip is checked and copied to dist/.
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
set(CPACK_POST_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/cmake/PublishRelease.cmake)
set(CPACK_LOAFIX_DIST_DIR ${PROJECT_SOURCE_DIR}/dist)
include(CPack)
