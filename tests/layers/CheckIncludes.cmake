# Fails when a source of ${ROOT}/game breaks the layers: only the engine reaches SDL and the
# media libraries, the rules judge without drawing (the play screen draws), and the level
# library stays apart from the rules.
#   cmake -DROOT=<tree> [-DEXPECT=<file;file...>] -P CheckIncludes.cmake
# With EXPECT, the offending files (relative to ROOT) must be exactly those listed.
cmake_policy(SET CMP0057 NEW)
set(media_patterns "^SDL" "jpeglib" "vorbis" "modplug" "cairo")
set(drawing_headers "engine/Screen.hpp" "engine/Drawing.hpp")
# The level library (qm_level) links no rules, screens or sounds: of the game it reaches only
# the Board, the state record and the vocabulary, of the engine only the core, free of SDL.
set(level_game_headers "game/GameState.hpp" "game/LevelIdentity.hpp" "game/play/Board.hpp"
    "game/play/HexGrid.hpp" "game/rules/Codes.hpp")
set(level_engine_headers "engine/Clock.hpp" "engine/Files.hpp" "engine/Random.hpp"
    "engine/SealedFile.hpp" "engine/Text.hpp" "engine/UserFiles.hpp")

file(GLOB_RECURSE sources RELATIVE ${ROOT} ${ROOT}/game/*.cpp ${ROOT}/game/*.hpp ${ROOT}/game/*.h)
list(SORT sources)
set(offenders "")
foreach(source ${sources})
  file(STRINGS ${ROOT}/${source} lines REGEX "^[ \t]*#[ \t]*include")
  foreach(line ${lines})
    if(NOT line MATCHES "^[ \t]*#[ \t]*include[ \t]*[<\"]([^>\"]+)[>\"]")
      continue()
    endif()
    set(header ${CMAKE_MATCH_1})
    set(why "")
    foreach(pattern ${media_patterns})
      if(header MATCHES "${pattern}")
        set(why "a media library (only engine/ may include it)")
      endif()
    endforeach()
    if(source MATCHES "^game/rules/" AND header IN_LIST drawing_headers)
      set(why "drawing in the rules (game/play/ draws)")
    endif()
    if(source MATCHES "^game/(level/|play/Board\\.|play/HexGrid\\.|GameState\\.)"
       AND header MATCHES "^(game|engine)/" AND NOT header MATCHES "^game/level/"
       AND NOT header IN_LIST level_game_headers AND NOT header IN_LIST level_engine_headers)
      set(why "outside the level library (game/level/ reaches only the Board and the vocabulary)")
    endif()
    if(why)
      message(STATUS "${source}: includes ${header}: ${why}")
      list(APPEND offenders ${source})
    endif()
  endforeach()
endforeach()
list(REMOVE_DUPLICATES offenders)

if(DEFINED EXPECT)
  set(expected ${EXPECT})
  list(SORT expected)
  if(NOT offenders STREQUAL expected)
    message(FATAL_ERROR "offending files: '${offenders}', expected '${expected}'")
  endif()
elseif(offenders)
  message(FATAL_ERROR "game/ sources break the layers: ${offenders}")
endif()
