# The listeners' page (web/): its files and the browser bundle of mqtt.js, which `npm ci`
# fetches at build time from the pinned lock file, put together in <build>/web as they are
# installed in share/kelpie/web (index.html at its root), for Mosquitto's http_dir to serve.
find_program(KELPIE_NPM npm)
find_program(KELPIE_NODE NAMES node nodejs)
if(KELPIE_NPM)
  set(_web_default ON)
else()
  set(_web_default OFF)
endif()
option(KELPIE_WEB "Build and install the listeners' page (needs npm)" ${_web_default})
if(NOT KELPIE_WEB)
  return()
endif()
if(NOT KELPIE_NPM)
  message(FATAL_ERROR "KELPIE_WEB needs npm (Debian package npm)")
endif()

# npm works in a copy of the package files in the build folder: two build folders never run
# npm in the same place, and the source tree gets no node_modules.
set(KELPIE_WEB_NPM ${CMAKE_BINARY_DIR}/web-npm)
set(KELPIE_WEB_DIR ${CMAKE_BINARY_DIR}/web)
set(_src ${CMAKE_SOURCE_DIR}/web)
add_custom_command(
  OUTPUT ${KELPIE_WEB_NPM}/npm-ci.stamp
  COMMAND ${CMAKE_COMMAND} -E copy_if_different ${_src}/package.json ${_src}/package-lock.json
          ${KELPIE_WEB_NPM}
  COMMAND ${KELPIE_NPM} ci --no-audit --no-fund --loglevel=error
  COMMAND ${CMAKE_COMMAND} -E touch ${KELPIE_WEB_NPM}/npm-ci.stamp
  DEPENDS ${_src}/package.json ${_src}/package-lock.json
  WORKING_DIRECTORY ${KELPIE_WEB_NPM}
  COMMENT "npm ci for the listeners' page")
file(MAKE_DIRECTORY ${KELPIE_WEB_NPM})

# The page: its HTML and CSS as they are, Kelpie's icon, its modules joined into kelpie.js, and the classic
# browser bundle of mqtt.js (it sets the global `mqtt`).
set(_modules wire.js replica.js net.js page.js main.js)
list(TRANSFORM _modules PREPEND ${_src}/)
string(REPLACE ";" "," _module_args "${_modules}")
set(_out ${KELPIE_WEB_DIR}/mqtt.min.js ${KELPIE_WEB_DIR}/kelpie.js)
add_custom_command(
  OUTPUT ${KELPIE_WEB_DIR}/mqtt.min.js
  COMMAND ${CMAKE_COMMAND} -E copy ${KELPIE_WEB_NPM}/node_modules/mqtt/dist/mqtt.min.js
          ${KELPIE_WEB_DIR}/mqtt.min.js
  DEPENDS ${KELPIE_WEB_NPM}/npm-ci.stamp)
add_custom_command(
  OUTPUT ${KELPIE_WEB_DIR}/kelpie.js
  COMMAND ${CMAKE_COMMAND} -DOUT=${KELPIE_WEB_DIR}/kelpie.js -DMODULES=${_module_args}
          -P ${CMAKE_SOURCE_DIR}/cmake/web_bundle.cmake
  DEPENDS ${_modules} ${CMAKE_SOURCE_DIR}/cmake/web_bundle.cmake VERBATIM)
foreach(f web/index.html web/kelpie.css resources/kelpie.svg)
  get_filename_component(n ${f} NAME)
  add_custom_command(OUTPUT ${KELPIE_WEB_DIR}/${n}
                     COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/${f} ${KELPIE_WEB_DIR}/${n}
                     DEPENDS ${CMAKE_SOURCE_DIR}/${f})
  list(APPEND _out ${KELPIE_WEB_DIR}/${n})
endforeach()
add_custom_target(kelpie_web ALL DEPENDS ${_out})

include(GNUInstallDirs)
install(DIRECTORY ${KELPIE_WEB_DIR}/ DESTINATION ${CMAKE_INSTALL_DATADIR}/kelpie/web)
