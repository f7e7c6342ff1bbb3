# The reference: `cmake --build <dir> --target docs` builds HTML from the
# documented headers and the README with Doxygen, when it is installed.
find_package(Doxygen QUIET)
if(DOXYGEN_FOUND)
  set(DOXYGEN_PROJECT_NAME "RIVEZI3Z")
  set(DOXYGEN_PROJECT_NUMBER ${PROJECT_VERSION})
  set(DOXYGEN_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/docs)
  set(DOXYGEN_GENERATE_LATEX NO)
  set(DOXYGEN_OPTIMIZE_OUTPUT_FOR_C YES)
  set(DOXYGEN_USE_MDFILE_AS_MAINPAGE ${PROJECT_SOURCE_DIR}/README.md)
  set(DOXYGEN_ENABLE_PREPROCESSING YES)
  set(DOXYGEN_MACRO_EXPANSION YES)
  set(DOXYGEN_EXPAND_ONLY_PREDEF YES)
  set(DOXYGEN_PREDEFINED "ZV_API=" "__cplusplus=201703L")
  set(DOXYGEN_WARN_IF_UNDOCUMENTED YES)
  set(DOXYGEN_STRIP_FROM_PATH ${PROJECT_SOURCE_DIR}/include)
  doxygen_add_docs(docs ${PROJECT_SOURCE_DIR}/include/rivezi3z ${PROJECT_SOURCE_DIR}/README.md
    COMMENT "Building the HTML reference into ${PROJECT_BINARY_DIR}/docs/html")
else()
  add_custom_target(docs
    COMMAND ${CMAKE_COMMAND} -E echo "docs: Doxygen is not installed (apt-get install doxygen), then re-run cmake"
    COMMAND ${CMAKE_COMMAND} -E false)
endif()
