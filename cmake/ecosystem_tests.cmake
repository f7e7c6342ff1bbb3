# End-to-end tests of the ecosystem. The install and Python tests work on a
# staged, installed copy of the libraries: in a sanitized build that copy is a
# small plain (unsanitized) build of its own, so that stock cc and python3 can
# load it without preloading the sanitizer runtime.
set(ZV_ECO ${PROJECT_SOURCE_DIR}/tests/ecosystem)
set(ZV_STAGE ${PROJECT_BINARY_DIR}/stage)
set(ZV_README_CHECK ${PROJECT_SOURCE_DIR}/tests/c/readme_check.cmake)

# Fails when the README no longer shows the file word for word.
function(zv_readme_shows name file)
  add_test(NAME ${name}
    COMMAND ${CMAKE_COMMAND} -DREADME=${PROJECT_SOURCE_DIR}/README.md -DEXAMPLE=${file} -P ${ZV_README_CHECK})
endfunction()

add_test(NAME docs.headers_documented
  COMMAND bash ${ZV_ECO}/documented_check.sh ${PROJECT_SOURCE_DIR}/include/rivezi3z/rivivi.h
          ${PROJECT_SOURCE_DIR}/include/rivezi3z/da3v.h ${PROJECT_SOURCE_DIR}/include/rivezi3z/rivezi3z.h)

add_test(NAME install.stage
  COMMAND bash ${ZV_ECO}/stage.sh ${PROJECT_SOURCE_DIR} ${PROJECT_BINARY_DIR} ${ZV_STAGE} ${ZV_SANITIZE})
set_tests_properties(install.stage PROPERTIES FIXTURES_SETUP zv_stage TIMEOUT 900)
foreach(way cmake pkg-config)
  add_test(NAME install.consume_with_${way}
    COMMAND bash ${ZV_ECO}/consume.sh ${way} ${ZV_STAGE}/prefix ${PROJECT_SOURCE_DIR}/tests/c/readme_example.c
            ${ZV_STAGE}/consume-${way})
  set_tests_properties(install.consume_with_${way} PROPERTIES FIXTURES_REQUIRED zv_stage)
endforeach()
zv_readme_shows(install.readme_shows_consumer ${ZV_ECO}/consumer/CMakeLists.txt)
zv_readme_shows(install.readme_shows_pkg_config ${ZV_ECO}/consumer/build_with_pkg_config.sh)

# The C++ layer compiles as C++17; its README example builds and runs.
add_executable(zv_cpp_example ${PROJECT_SOURCE_DIR}/tests/cpp/readme_example.cpp)
set_target_properties(zv_cpp_example PROPERTIES CXX_STANDARD 17 CXX_EXTENSIONS OFF)
target_link_libraries(zv_cpp_example PRIVATE rivezi3z::rivezi3z)
add_test(NAME cpp.readme_example COMMAND zv_cpp_example)
zv_readme_shows(cpp.readme_shows_example ${PROJECT_SOURCE_DIR}/tests/cpp/readme_example.cpp)

if(TARGET zvcurve)
  foreach(case gallery tessellate fit intersect errors readme)
    add_test(NAME cli.${case} COMMAND bash ${ZV_ECO}/cli_test.sh ${case} $<TARGET_FILE:zvcurve>
             ${ZV_ECO} ${PROJECT_BINARY_DIR}/cli-${case})
  endforeach()
  zv_readme_shows(cli.readme_shows_example ${ZV_ECO}/cli_readme.sh)
endif()

# Python: Debian's python3 (with python3-numpy and python3-pytest) first, so a
# python3 of another installation on PATH does not shadow it.
find_program(ZV_PYTHON NAMES python3 PATHS /usr/bin NO_DEFAULT_PATH)
find_program(ZV_PYTHON NAMES python3)
file(GLOB ZV_PYTHON_TESTS CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/python/tests/test_*.py)
set(ZV_PYTHON_ENV "PYTHONPATH=${PROJECT_SOURCE_DIR}/python" "RIVEZI3Z_LIBRARY_DIR=${ZV_STAGE}/prefix/lib"
    "PYTHONDONTWRITEBYTECODE=1")
foreach(file IN LISTS ZV_PYTHON_TESTS)
  get_filename_component(family ${file} NAME_WE)
  string(REPLACE "test_" "" family ${family})
  add_test(NAME python.${family} COMMAND ${ZV_PYTHON} -m pytest -q -p no:cacheprovider ${file})
  # pytest exits with 5 when a whole file is skipped: ctest shows it as skipped.
  set_tests_properties(python.${family} PROPERTIES FIXTURES_REQUIRED zv_stage ENVIRONMENT "${ZV_PYTHON_ENV}"
                       SKIP_RETURN_CODE 5)
endforeach()
add_test(NAME python.readme_example COMMAND ${ZV_PYTHON} ${PROJECT_SOURCE_DIR}/python/examples/readme_example.py)
set_tests_properties(python.readme_example PROPERTIES FIXTURES_REQUIRED zv_stage ENVIRONMENT "${ZV_PYTHON_ENV}")
zv_readme_shows(python.readme_shows_example ${PROJECT_SOURCE_DIR}/python/examples/readme_example.py)

# The README's docs command, where Doxygen is installed.
if(DOXYGEN_FOUND)
  add_test(NAME docs.html COMMAND ${CMAKE_COMMAND} --build ${PROJECT_BINARY_DIR} --target docs)
endif()
