# `cmake --install` puts the library, its one public header and a package configuration under the
# prefix, so another project can use find_package(Ostrel3D) and link Ostrel3D::ostrel3d. They are
# the component "engine"; the tools, when built, are "tools".
include(CMakePackageConfigHelpers)

set(O3D_PACKAGE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/Ostrel3D)
install(TARGETS ostrel3d EXPORT Ostrel3DTargets ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
        COMPONENT engine)
install(FILES ${PROJECT_SOURCE_DIR}/engine/ostrel3d.h DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}
        COMPONENT engine)
install(EXPORT Ostrel3DTargets NAMESPACE Ostrel3D:: DESTINATION ${O3D_PACKAGE_DIR}
        COMPONENT engine)

configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/Ostrel3DConfig.cmake.in
                              ${PROJECT_BINARY_DIR}/Ostrel3DConfig.cmake
                              INSTALL_DESTINATION ${O3D_PACKAGE_DIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/Ostrel3DConfigVersion.cmake
                                 COMPATIBILITY SameMinorVersion)
install(FILES ${PROJECT_BINARY_DIR}/Ostrel3DConfig.cmake
              ${PROJECT_BINARY_DIR}/Ostrel3DConfigVersion.cmake
              ${CMAKE_CURRENT_LIST_DIR}/Ostrel3DDependencies.cmake
        DESTINATION ${O3D_PACKAGE_DIR} COMPONENT engine)
