# Read by cpack for each package it makes.
if(CPACK_GENERATOR STREQUAL "DEB")
  # Installed for every user: programs, menu entry, icons, metainfo; the portable folder is
  # left out, as from a plain install.
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
else()
  # One folder to copy anywhere: the programs with their own settings file.
  set(CPACK_ARCHIVE_COMPONENT_INSTALL ON)
  set(CPACK_COMPONENTS_ALL portable)
  set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)
  set(CPACK_COMPONENT_INCLUDE_TOPLEVEL_DIRECTORY ON)
  set(CPACK_PACKAGE_FILE_NAME "${CPACK_PACKAGE_NAME}-${CPACK_PACKAGE_VERSION}-portable-${CPACK_SYSTEM_NAME}")
endif()
