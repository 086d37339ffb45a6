# What `cmake --install` puts under the prefix: the two programs, the desktop entry and
# its icon, the manual pages and the documents. Tests and benchmarks stay in the build.
include(GNUInstallDirs)

set(packaging ${PROJECT_SOURCE_DIR}/packaging)
set(staged ${CMAKE_BINARY_DIR}/packaging)

install(TARGETS verrolift-import RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(VERROLIFT_GUI)
  install(TARGETS verrolift RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
# Desktop entry, icon theme, manual pages and the Debian package are for Linux desktops.
if(NOT UNIX OR APPLE)
  return()
endif()

# Manual pages and the change log are installed compressed with gzip -9n (no name, no
# time stamp): the form Debian requires, and man reads it everywhere.
find_program(VERROLIFT_GZIP gzip REQUIRED)
set(compressed_files)
function(verrolift_compressed file)
  add_custom_command(OUTPUT ${file}.gz
    COMMAND ${VERROLIFT_GZIP} -9 -n -f -k ${file}
    DEPENDS ${file}
    VERBATIM)
  set(compressed_files ${compressed_files} ${file}.gz PARENT_SCOPE)
endfunction()

set(pages verrolift-import.1)
if(VERROLIFT_GUI)
  list(APPEND pages verrolift.1)
  install(FILES ${packaging}/verrolift.desktop DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/applications)
  install(FILES ${packaging}/verrolift.svg
          DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/icons/hicolor/scalable/apps)
endif()

foreach(page IN LISTS pages)
  configure_file(${packaging}/${page}.in ${staged}/${page} @ONLY)
  verrolift_compressed(${staged}/${page})
  install(FILES ${staged}/${page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()

configure_file(${packaging}/changelog ${staged}/changelog COPYONLY)
verrolift_compressed(${staged}/changelog)
install(FILES ${staged}/changelog.gz ${packaging}/copyright ${PROJECT_SOURCE_DIR}/README.md
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/verrolift)

add_custom_target(verrolift_compressed_docs ALL DEPENDS ${compressed_files})

include(${CMAKE_CURRENT_LIST_DIR}/package.cmake)
