# Run by CPack once the zip is made: checks that it holds what a Windows user needs and
# copies it to dist/. A release that lacks a file fails here, not on a user's machine.
foreach(package IN LISTS CPACK_PACKAGE_FILES)
  execute_process(COMMAND ${CMAKE_COMMAND} -E tar tf ${package}
                  OUTPUT_VARIABLE listing RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "cannot read ${package}")
  endif()
  foreach(member loafix.exe clientsim.exe README.txt LICENSE.txt)
    if(NOT listing MATCHES "(^|\n)${CPACK_PACKAGE_FILE_NAME}/${member}\n")
      message(FATAL_ERROR "${package} lacks ${member}:\n${listing}")
    endif()
  endforeach()
  file(MAKE_DIRECTORY ${CPACK_LOAFIX_DIST_DIR})
  get_filename_component(name ${package} NAME)
  file(COPY_FILE ${package} ${CPACK_LOAFIX_DIST_DIR}/${name})
  file(SIZE ${package} bytes)
  message(STATUS "Release: ${CPACK_LOAFIX_DIST_DIR}/${name} (${bytes} bytes)")
endforeach()
