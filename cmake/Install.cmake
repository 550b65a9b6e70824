# cmake --install: Debian's games layout below any prefix. The executable finds the game
# folder relative to its own folder, so an installed tree can move as a whole.
include(GNUInstallDirs)

set(QM_APP_ID io.github.quillmosaica.Quillmosaica)
set(QM_INSTALL_GAMESDIR games CACHE STRING "Folder of the executable, below the prefix")
set(QM_INSTALL_GAMEDATADIR ${CMAKE_INSTALL_DATAROOTDIR}/games/quillmosaica
    CACHE STRING "The game folder, below the prefix")
file(RELATIVE_PATH qm_data_from_exe /prefix/${QM_INSTALL_GAMESDIR} /prefix/${QM_INSTALL_GAMEDATADIR})
target_compile_definitions(qm_game PRIVATE QM_GAME_FOLDER_FROM_EXECUTABLE="${qm_data_from_exe}")

# Icons: the game's own Piece, drawn by qm-assets at each size.
set(qm_icon_files)
foreach(size 32 48 64 128 256)
  set(icon ${PROJECT_BINARY_DIR}/icons/${size}x${size}/apps/${QM_APP_ID}.png)
  add_custom_command(OUTPUT ${icon}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/icons/${size}x${size}/apps
    COMMAND $<TARGET_FILE:qm-assets> icon ${size} ${icon}
    DEPENDS qm-assets
    COMMENT "Drawing the ${size}x${size} icon"
    VERBATIM)
  list(APPEND qm_icon_files ${icon})
endforeach()
add_custom_target(qm_icons ALL DEPENDS ${qm_icon_files})

configure_file(${PROJECT_SOURCE_DIR}/dist/quillmosaica.metainfo.xml.in
               ${PROJECT_BINARY_DIR}/dist/${QM_APP_ID}.metainfo.xml @ONLY)

install(TARGETS quillmosaica RUNTIME DESTINATION ${QM_INSTALL_GAMESDIR})
# The whole game folder, so whatever data the game reads later goes along; hidden work
# folders of the tools stay behind.
install(CODE "if(NOT EXISTS \"${QM_DATA_DIR}/maps/1\")
  message(FATAL_ERROR \"The game folder ${QM_DATA_DIR} has not been made: build the 'data' target first.\")
endif()")
install(DIRECTORY ${QM_DATA_DIR}/ DESTINATION ${QM_INSTALL_GAMEDATADIR}
        PATTERN ".*" EXCLUDE)
install(DIRECTORY ${PROJECT_BINARY_DIR}/icons/
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/icons/hicolor)
install(FILES ${PROJECT_BINARY_DIR}/dist/${QM_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/metainfo)
# The desktop entry and the man page name installed paths, so they are made for the prefix
# given at install time (cmake --install --prefix P), not the one configured.
install(CODE "
  set(QM_SOURCE_DIR \"${PROJECT_SOURCE_DIR}\")
  set(QM_BINARY_DIR \"${PROJECT_BINARY_DIR}\")
  set(QM_APP_ID \"${QM_APP_ID}\")
  set(PROJECT_VERSION \"${PROJECT_VERSION}\")
  set(QM_INSTALL_GAMESDIR \"${QM_INSTALL_GAMESDIR}\")
  set(QM_INSTALL_GAMEDATADIR \"${QM_INSTALL_GAMEDATADIR}\")
  set(QM_INSTALL_DATAROOTDIR \"${CMAKE_INSTALL_DATAROOTDIR}\")
  set(QM_INSTALL_MANDIR \"${CMAKE_INSTALL_MANDIR}\")
  include(\"${PROJECT_SOURCE_DIR}/cmake/InstallForPrefix.cmake\")")
