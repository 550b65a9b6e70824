# qm-assets must stop with a clear message and leave nothing behind when its output folder
# or a font is missing. Usage: cmake -DTOOL=<qm-assets> -DWORK=<scratch folder> -P BadInput.cmake
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/out ${WORK}/no-fonts)

execute_process(COMMAND ${TOOL} ${WORK}/missing/out RESULT_VARIABLE rc ERROR_VARIABLE err)
if(rc EQUAL 0 OR NOT err MATCHES "output folder does not exist")
  message(FATAL_ERROR "missing output folder: rc=${rc} stderr=${err}")
endif()
if(EXISTS ${WORK}/missing)
  message(FATAL_ERROR "missing output folder was created")
endif()

execute_process(COMMAND ${CMAKE_COMMAND} -E env QM_ASSETS_FONT_DIR=${WORK}/no-fonts
                        ${TOOL} ${WORK}/out RESULT_VARIABLE rc ERROR_VARIABLE err)
if(rc EQUAL 0 OR NOT err MATCHES "font missing: .*LiberationSans-Bold.ttf")
  message(FATAL_ERROR "missing font: rc=${rc} stderr=${err}")
endif()
file(GLOB left ${WORK}/out/*)
if(left)
  message(FATAL_ERROR "missing font still wrote: ${left}")
endif()
file(REMOVE_RECURSE ${WORK})
