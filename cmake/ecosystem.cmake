# The library's ecosystem: installation and packaging, the reference docs,
# and (with the tests) the end-to-end checks of installing and consuming the
# package, the C++ layer, the zvcurve tool and the Python binding.
include(${CMAKE_CURRENT_LIST_DIR}/install.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/docs.cmake)
if(ZV_BUILD_TESTS)
  include(${CMAKE_CURRENT_LIST_DIR}/ecosystem_tests.cmake)
endif()
