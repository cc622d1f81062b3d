# Joins the page's modules into one classic script: Mosquitto's http_dir serves files without a
# Content-Type, and browsers run a module script only when it comes with a JavaScript one.
# The modules import only from each other, each import on one line, so the bundle is their
# text in order with the import lines dropped and "export " taken off, in one function's scope.
# cmake -DOUT=kelpie.js -DMODULES=wire.js,replica.js,... -P web_bundle.cmake
string(REPLACE "," ";" MODULES "${MODULES}")
set(_text "// Kelpie's listeners' page: the modules of web/ joined by the build (see web_bundle.cmake).\n(() => {\n'use strict';\n")
foreach(m ${MODULES})
  file(READ ${m} _module)
  get_filename_component(_name ${m} NAME)
  string(PREPEND _module "\n")
  string(REGEX REPLACE "\nimport [^\n]*" "" _module "${_module}")
  string(REPLACE "\nexport " "\n" _module "${_module}")
  string(APPEND _text "\n// ---- ${_name}${_module}")
endforeach()
string(APPEND _text "})();\n")
file(WRITE ${OUT} "${_text}")
