# Run by cmake --install: the desktop entry and the man page for the prefix being installed.
get_filename_component(qm_prefix "${CMAKE_INSTALL_PREFIX}" ABSOLUTE)
set(qm_exec "${qm_prefix}/${QM_INSTALL_GAMESDIR}/quillmosaica")
# The Exec key splits on spaces and gives % a meaning: such a path is quoted, % doubled. A
# path that would need escapes of its own falls back to the name, found through PATH.
string(REPLACE "%" "%%" qm_exec "${qm_exec}")
if(qm_exec MATCHES "[\"`$\\]")
  set(qm_exec "quillmosaica")
elseif(qm_exec MATCHES "[^A-Za-z0-9/._+%-]")
  set(qm_exec "\"${qm_exec}\"")
endif()
set(QM_DESKTOP_EXEC "${qm_exec}")
set(QM_GAME_FOLDER "${qm_prefix}/${QM_INSTALL_GAMEDATADIR}")
string(REPLACE "-" "\\-" QM_GAME_FOLDER "${QM_GAME_FOLDER}")

set(qm_out "${QM_BINARY_DIR}/dist/prefix")
configure_file("${QM_SOURCE_DIR}/dist/quillmosaica.desktop.in" "${qm_out}/${QM_APP_ID}.desktop" @ONLY)
configure_file("${QM_SOURCE_DIR}/dist/quillmosaica.6.in" "${qm_out}/quillmosaica.6" @ONLY)
file(INSTALL DESTINATION "${qm_prefix}/${QM_INSTALL_DATAROOTDIR}/applications" TYPE FILE
     FILES "${qm_out}/${QM_APP_ID}.desktop")
file(INSTALL DESTINATION "${qm_prefix}/${QM_INSTALL_MANDIR}/man6" TYPE FILE
     FILES "${qm_out}/quillmosaica.6")
