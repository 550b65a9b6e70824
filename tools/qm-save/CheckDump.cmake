# qm-save dump prints a good save as JSON and refuses a damaged one with its reason.
execute_process(COMMAND ${TOOL} dump ${CORPUS}/level-2-start
  RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "qm-save dump failed (${result}): ${err}")
endif()
string(JSON player GET "${out}" player)
string(JSON level GET "${out}" level)
string(JSON slots LENGTH "${out}" easel)
string(JSON laid LENGTH "${out}" laid)
string(JSON bag GET "${out}" bag)
string(JSON met GET "${out}" objectives met)
if(NOT player STREQUAL "Ann" OR NOT level EQUAL 2 OR NOT slots EQUAL 10 OR NOT laid EQUAL 0
   OR bag LESS 1)
  message(FATAL_ERROR "unexpected dump:\n${out}")
endif()
execute_process(COMMAND ${TOOL} dump ${CORPUS}/level-1-damaged
  RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT result EQUAL 1 OR NOT err MATCHES "it is damaged")
  message(FATAL_ERROR "a damaged save was not refused (${result}): ${out}${err}")
endif()
