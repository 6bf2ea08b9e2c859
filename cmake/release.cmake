# The release: `cmake --install` puts the programs, the README and the licence side by side in
# bin/, and CPack zips them under one top folder, velquin-<version>-win64.
install(TARGETS velquin RUNTIME DESTINATION bin)
if(TARGET velquin-cli)
    install(TARGETS velquin-cli RUNTIME DESTINATION bin)
endif()
# Windows 11's menu: the extension beside the programs and the package that points at them.
install(TARGETS velquin-shell LIBRARY DESTINATION bin)
install(FILES ${VELQUIN_SHELL_PACKAGE} DESTINATION bin)
install(FILES ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION bin)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME velquin)
set(CPACK_PACKAGE_VENDOR "the Velquin developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Velquin folder customiser")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_SYSTEM_NAME win64)
set(CPACK_PACKAGE_FILE_NAME velquin-${PROJECT_VERSION}-win64)
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_ARCHIVE_COMPONENT_INSTALL OFF)
include(CPack)

# The release files beside the zip: the MSI (Debian's wixl and msitools), SHA256SUMS and the
# winget and Scoop manifests, made by `cmake --build <build> --target release`
# (cmake/package_release.cmake). $version in the address stands for the version.
set(VELQUIN_HOMEPAGE "https://github.com/velquin/velquin" CACHE STRING "Velquin's home page")
set(VELQUIN_RELEASE_URL "${VELQUIN_HOMEPAGE}/releases/download/v$version" CACHE STRING
    "Where the release files of a version are downloaded from")
find_program(VELQUIN_WIXL wixl)
find_program(VELQUIN_MSIBUILD msibuild)
find_program(VELQUIN_MSIINFO msiinfo)
file(CONFIGURE OUTPUT ${PROJECT_BINARY_DIR}/packaging/release_config.cmake CONTENT
"set(VELQUIN_SOURCE_DIR \"${PROJECT_SOURCE_DIR}\")
set(VELQUIN_VERSION \"${PROJECT_VERSION}\")
set(VELQUIN_PUBLISHER \"${CPACK_PACKAGE_VENDOR}\")
set(VELQUIN_HOMEPAGE \"${VELQUIN_HOMEPAGE}\")
set(VELQUIN_RELEASE_URL \"${VELQUIN_RELEASE_URL}\")
set(VELQUIN_WIXL \"${VELQUIN_WIXL}\")
set(VELQUIN_MSIBUILD \"${VELQUIN_MSIBUILD}\")
set(VELQUIN_MSIINFO \"${VELQUIN_MSIINFO}\")
")
# What the release needs to write the signed package again (a native build's tool is a target).
file(GENERATE OUTPUT ${PROJECT_BINARY_DIR}/packaging/shell_package_config.cmake CONTENT
"set(VELQUIN_PACKAGE_TOOL \"${VELQUIN_PACKAGE_TOOL}\")
set(VELQUIN_SHELL_CLSID \"${VELQUIN_SHELL_CLSID}\")
set(VELQUIN_SHELL_PACKAGE \"${VELQUIN_SHELL_PACKAGE}\")
")
add_custom_target(release
    COMMAND ${CMAKE_COMMAND} -DBUILD=${PROJECT_BINARY_DIR}
            -P ${PROJECT_SOURCE_DIR}/cmake/package_release.cmake
    COMMENT "Making the release files" VERBATIM)
add_dependencies(release velquin velquin-shell velquin_shell_package)
if(TARGET velquin-cli)
    add_dependencies(release velquin-cli)
endif()
