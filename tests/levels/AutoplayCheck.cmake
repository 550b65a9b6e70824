# qm-autoplay on small fixture levels and on bad input: exit 0 for a level won on the
# asked number of seeds, 1 for one that cannot be won, 2 for a missing or malformed level.
# Variables: TOOL (qm-autoplay), LEVEL_TOOL (qm-level), FIXTURES, WORK, DATA.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})

function(build_fixture name)
  execute_process(COMMAND ${LEVEL_TOOL} build ${FIXTURES}/${name}.lvl ${WORK}/${name} RESULT_VARIABLE rc
                  ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "qm-level build ${name}: ${err}")
  endif()
endfunction()

function(expect what code pattern)
  execute_process(COMMAND ${TOOL} ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc STREQUAL "${code}")
    message(FATAL_ERROR "${what}: exit ${rc}, expected ${code}\n${out}${err}")
  endif()
  if(NOT "${out}${err}" MATCHES "${pattern}")
    message(FATAL_ERROR "${what}: output lacks '${pattern}'\n${out}${err}")
  endif()
endfunction()

build_fixture(open-room)
build_fixture(walled-end)
build_fixture(no-start)

expect("open room, every seed" 0 "seed 3: won .*objectives 2/2.*won 3/3"
       ${WORK}/open-room --seeds 3 --need 3 --data ${DATA})
expect("walled end box" 1 "cannot be won on any seed"
       ${WORK}/walled-end --seeds 2 --moves 40 --data ${DATA})
expect("too few seeds asked" 1 "won on too few seeds|cannot be won"
       ${WORK}/walled-end --seeds 1 --need 2 --moves 10 --data ${DATA})
expect("missing level" 2 "cannot be read" ${WORK}/no-such-level --data ${DATA})
expect("missing level number" 2 "cannot be read" 77 --data ${WORK})

expect("no start box" 2 "has no start box" ${WORK}/no-start --data ${DATA})

file(WRITE ${WORK}/garbage "this is not a level file\n")
expect("text instead of a level" 2 "ends inside its header" ${WORK}/garbage --data ${DATA})
configure_file(${WORK}/open-room ${WORK}/too-long COPYONLY)
file(APPEND ${WORK}/too-long "xx")
expect("level with bytes past its end" 2 "bytes long where its layout needs" ${WORK}/too-long --data ${DATA})
file(WRITE ${WORK}/empty "")
expect("empty level file" 2 "is empty" ${WORK}/empty --data ${DATA})

expect("no dictionary" 2 "no dictionary" ${WORK}/open-room --data ${WORK})
expect("bad seed count" 2 "needs a number" ${WORK}/open-room --seeds none --data ${DATA})
expect("no level" 2 "usage" --seeds 2)
