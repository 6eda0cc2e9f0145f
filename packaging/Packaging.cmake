# Desktop integration (menu entry, icons, AppStream metainfo) installed beside the program, and
# the Debian package CPack makes of the installed tree. Only a build with the program packages.
if(NOT TARGET zarven-controls)
  return()
endif()

include(GNUInstallDirs)

set(zarven_packaging_dir ${PROJECT_SOURCE_DIR}/packaging)
set(zarven_icon_dir ${PROJECT_SOURCE_DIR}/panel/icons)

install(FILES ${zarven_packaging_dir}/zarven-controls.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${zarven_packaging_dir}/com.zarven.controls.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# The hicolor theme: the SVG as scalable, each zarven-controls-<N>.png as NxN.
install(FILES ${zarven_icon_dir}/zarven-controls.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
file(GLOB zarven_png_icons ${zarven_icon_dir}/zarven-controls-*.png)
foreach(icon ${zarven_png_icons})
  string(REGEX MATCH "-([0-9]+)\\.png$" _ ${icon})
  set(size ${CMAKE_MATCH_1})
  install(FILES ${icon} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME zarven-controls.png)
endforeach()

# Day-to-day use of real joysticks: a udev rule that marks the ZARVEN tracker as a joystick and
# has the logged-in user's service manager apply the stored calibration at plug-in, and that
# user service, enabled for every user (default.target) so it also runs at log-in.
install(FILES ${zarven_packaging_dir}/linux/60-input-zarven-controls.rules
        DESTINATION /lib/udev/rules.d)
# The package installs under /usr, where the service finds the program.
set(zarven_user_units ${CMAKE_CURRENT_BINARY_DIR}/packaging/user)
file(COPY ${zarven_packaging_dir}/linux/zarven-controls-apply@.service
     DESTINATION ${zarven_user_units})
file(MAKE_DIRECTORY ${zarven_user_units}/default.target.wants)
file(CREATE_LINK ../zarven-controls-apply@.service
     ${zarven_user_units}/default.target.wants/zarven-controls-apply@login.service SYMBOLIC)
install(DIRECTORY ${zarven_user_units}/ DESTINATION lib/systemd/user)

# The one place that names the packager: the Maintainer field and the changelog's signature.
set(ZARVEN_PACKAGE_MAINTAINER "ZARVEN Controls packaging team <packaging@zarven.example>"
    CACHE STRING "Maintainer of the Debian package: \"Name <address>\"")
if(NOT ZARVEN_PACKAGE_MAINTAINER MATCHES "^[^<>]+ <[^<> @]+@[^<> @]+\\.[^<> @]+>$")
  message(FATAL_ERROR "ZARVEN_PACKAGE_MAINTAINER must read \"Name <user@host.domain>\", "
                      "not \"${ZARVEN_PACKAGE_MAINTAINER}\"")
endif()

include(${zarven_packaging_dir}/DebianDocs.cmake)
include(${zarven_packaging_dir}/ManualPage.cmake)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zarven-controls)
set(CPACK_PACKAGE_VENDOR ZARVEN)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "control panel for the ZARVEN head-mounted display")
# Wrapped as Debian wants it (lines under 80 columns); CPack indents it and marks blank lines.
file(READ ${zarven_packaging_dir}/debian/description.txt CPACK_PACKAGE_DESCRIPTION)
set(CPACK_STRIP_FILES ON)
set(CPACK_ZARVEN_OBJCOPY ${CMAKE_OBJCOPY})
set(CPACK_PRE_BUILD_SCRIPTS ${zarven_packaging_dir}/RemoveComment.cmake)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${ZARVEN_PACKAGE_MAINTAINER})
# Proprietary software: the archive area Debian keeps such packages in.
set(CPACK_DEBIAN_PACKAGE_SECTION non-free/utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# dpkg-shlibdeps finds the libraries the program links (Qt 6, the C++ runtime); Qt loads its
# platform plugins at run time, so those are named here, and a font for the dialogs.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-dejavu-core")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
