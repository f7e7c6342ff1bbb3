# Installation: headers, the three shared objects with their SONAME links,
# the CMake package (find_package(rivezi3z)), pkg-config files and zvcurve.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

install(TARGETS rivivi da3v rivezi3z EXPORT rivezi3zTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
  INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/include/rivezi3z DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})

set(ZV_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/rivezi3z)
install(EXPORT rivezi3zTargets NAMESPACE rivezi3z:: DESTINATION ${ZV_CMAKE_DIR})
configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/rivezi3zConfig.cmake.in
  ${PROJECT_BINARY_DIR}/rivezi3zConfig.cmake INSTALL_DESTINATION ${ZV_CMAKE_DIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/rivezi3zConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/rivezi3zConfig.cmake ${PROJECT_BINARY_DIR}/rivezi3zConfigVersion.cmake
  DESTINATION ${ZV_CMAKE_DIR})

# One pkg-config file per library; the prefix is taken from the file's own
# place at use time, so a relocated tree still works.
if(IS_ABSOLUTE "${CMAKE_INSTALL_LIBDIR}")
  set(ZV_PC_PREFIX "${CMAKE_INSTALL_PREFIX}")
else()
  file(RELATIVE_PATH ZV_PC_UP /prefix/${CMAKE_INSTALL_LIBDIR}/pkgconfig /prefix)
  set(ZV_PC_PREFIX "\${pcfiledir}/${ZV_PC_UP}")
endif()
foreach(entry
    "rivivi|RIVEZI3Z kernel: records, lists, memory, messages, numeric routines|"
    "da3v|RIVEZI3Z geometry services: vectors, polygons, segment meets|rivivi"
    "rivezi3z|RIVEZI3Z 3D curve geometry|da3v rivivi")
  string(REPLACE "|" ";" fields "${entry}")
  list(GET fields 0 ZV_PC_NAME)
  list(GET fields 1 ZV_PC_DESCRIPTION)
  list(GET fields 2 ZV_PC_REQUIRES)
  configure_file(${CMAKE_CURRENT_LIST_DIR}/library.pc.in ${PROJECT_BINARY_DIR}/pkgconfig/${ZV_PC_NAME}.pc @ONLY)
  install(FILES ${PROJECT_BINARY_DIR}/pkgconfig/${ZV_PC_NAME}.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
endforeach()

if(TARGET zvcurve)
  install(TARGETS zvcurve RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
