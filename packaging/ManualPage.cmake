# The manual page zarven-controls(1): written in scdoc (docs/zarven-controls.1.scd), turned into
# roff and compressed with gzip -9n at build time, installed in section 1. Its test renders it
# with man and fails on any warning.
find_program(ZARVEN_SCDOC scdoc REQUIRED)

set(zarven_man_source ${PROJECT_SOURCE_DIR}/docs/zarven-controls.1.scd)
set(zarven_man_page ${CMAKE_CURRENT_BINARY_DIR}/docs/zarven-controls.1)
add_custom_command(
  OUTPUT ${zarven_man_page} ${zarven_man_page}.gz
  COMMAND sh -c "exec \"$0\" < \"$1\" > \"$2\"" ${ZARVEN_SCDOC} ${zarven_man_source}
          ${zarven_man_page}
  COMMAND gzip -9n --force --keep ${zarven_man_page}
  DEPENDS ${zarven_man_source}
  COMMENT "Building the manual page zarven-controls(1)"
  VERBATIM)
add_custom_target(zarven-manual-page ALL DEPENDS ${zarven_man_page}.gz)

install(FILES ${zarven_man_page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

if(BUILD_TESTING)
  add_test(NAME manual_page_renders
           COMMAND ${PROJECT_SOURCE_DIR}/tests/packaging/man_page.sh ${zarven_man_page})
endif()
