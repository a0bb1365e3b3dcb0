# Installing the program as a desktop program, by the GNUInstallDirs rules:
# the program in a folder of its own with its help file beside it (it looks
# for the help file in the folder of the running executable), a link to it
# in bin/, and what the desktop needs to find, show and start it.

include(GNUInstallDirs)

set(QUORZANE_PROGRAM_DIR lib/quorzane CACHE STRING "Folder of the program and its help file, under the prefix")
set(QUORZANE_APP_ID org.quorzane.Quorzane)

install(TARGETS quorzane RUNTIME DESTINATION ${QUORZANE_PROGRAM_DIR})
install(FILES ${PROJECT_SOURCE_DIR}/resources/help/QRVN.HLP DESTINATION ${QUORZANE_PROGRAM_DIR})
# The KWin script of Plasma sessions, which the program loads from its folder.
install(FILES ${PROJECT_SOURCE_DIR}/resources/kwin/quorzane-pointer.js DESTINATION ${QUORZANE_PROGRAM_DIR})

# The GNOME Shell extension of GNOME sessions, in the form of the shell it is
# built for: Shell 43 and 44 (Debian 12) load scripts, Shell 45 and later
# load ES modules, with the same bridge beside either entry.
set(QUORZANE_GNOME_SHELL 43 CACHE STRING "GNOME Shell version whose extension form is installed (43 or 45)")
set(extension_dir ${PROJECT_SOURCE_DIR}/resources/gnome-shell)
set(extension_entry ${extension_dir}/pointer@quorzane.org)
if(QUORZANE_GNOME_SHELL VERSION_GREATER_EQUAL 45)
  set(extension_entry ${extension_dir}/shell-45)
endif()
install(FILES ${extension_entry}/metadata.json ${extension_entry}/extension.js
              ${extension_dir}/pointer@quorzane.org/pointerBridge.js
        DESTINATION ${CMAKE_INSTALL_DATADIR}/gnome-shell/extensions/pointer@quorzane.org)

# bin/quorzane -> the program, relative so that the installed tree can move.
file(RELATIVE_PATH link_target /${CMAKE_INSTALL_BINDIR} /${QUORZANE_PROGRAM_DIR}/quorzane)
install(CODE "
  set(link \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/quorzane\")
  get_filename_component(link_dir \"\${link}\" DIRECTORY)
  file(MAKE_DIRECTORY \"\${link_dir}\")
  file(CREATE_LINK \"${link_target}\" \"\${link}\" SYMBOLIC)
  message(STATUS \"Installing: \${link} -> ${link_target}\")
")

set(desktop_dir ${PROJECT_SOURCE_DIR}/resources/desktop)
install(FILES ${desktop_dir}/${QUORZANE_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
# The same entry starts it with the session; a user's own copy of that name
# with Hidden=true turns it off.
install(FILES ${desktop_dir}/${QUORZANE_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_FULL_SYSCONFDIR}/xdg/autostart)
install(FILES ${desktop_dir}/${QUORZANE_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${desktop_dir}/quorzane.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
foreach(size 16 22 24 32 48 64 128 256)
  install(FILES ${PROJECT_SOURCE_DIR}/resources/icons/hicolor/${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME ${QUORZANE_APP_ID}.png)
endforeach()
