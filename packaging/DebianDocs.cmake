# The files Debian wants in /usr/share/doc/<package>: the copyright in the machine-readable
# format, and the changelog of a native package, compressed with gzip -9n (no name, no time
# stamp, so the same source gives the same bytes).
set(zarven_doc_dir ${CMAKE_INSTALL_DATADIR}/doc/zarven-controls)
set(zarven_changelog_source ${zarven_packaging_dir}/debian/changelog.in)

# A release whose changelog does not start with its own version would ship a stale history.
file(STRINGS ${zarven_changelog_source} zarven_changelog_head LIMIT_COUNT 1)
if(NOT zarven_changelog_head MATCHES "^zarven-controls \\(${PROJECT_VERSION}\\) ")
  message(FATAL_ERROR "packaging/debian/changelog.in: the first entry must be version "
                      "${PROJECT_VERSION}, not \"${zarven_changelog_head}\"")
endif()

set(zarven_changelog ${CMAKE_CURRENT_BINARY_DIR}/packaging/changelog)
configure_file(${zarven_changelog_source} ${zarven_changelog} @ONLY)
add_custom_command(
  OUTPUT ${zarven_changelog}.gz
  COMMAND gzip -9n --force --keep ${zarven_changelog}
  DEPENDS ${zarven_changelog}
  COMMENT "Compressing the Debian changelog"
  VERBATIM)
add_custom_target(zarven-changelog ALL DEPENDS ${zarven_changelog}.gz)

install(FILES ${zarven_packaging_dir}/debian/copyright ${zarven_changelog}.gz
        DESTINATION ${zarven_doc_dir})
