# cmake --install: the program, its guides (with their pictures), a desktop entry, the
# description of its document types and the icon, in the usual places below the prefix.
include(GNUInstallDirs)

set(ZEPHALON_GUIDE_DIR ${CMAKE_INSTALL_DATADIR}/zephalon/guide)
# The program finds the installed guides at ../share/zephalon/guide from its own folder.
file(RELATIVE_PATH guide_from_program /p/${CMAKE_INSTALL_BINDIR} /p/${ZEPHALON_GUIDE_DIR})
if(NOT guide_from_program STREQUAL "../share/zephalon/guide")
  message(WARNING "The installed program looks for its guides in ../share/zephalon/guide, "
                  "not in ${guide_from_program}: the Help menu will use the system data folders.")
endif()

install(TARGETS zephalon RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY docs/guide/ DESTINATION ${ZEPHALON_GUIDE_DIR})

# The icon, named zephalon: the program's own sizes (resources/icons/zephalon-<size>.png) into
# the hicolor theme, or a single resources/zephalon.svg / .png, else the guide's emblem; the
# largest also goes to share/pixmaps for desktops without icon themes.
file(GLOB ZEPHALON_ICON_SIZES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/resources/icons/zephalon-*.png)
set(ZEPHALON_ICON "")
set(icon_largest 0)
foreach(icon ${ZEPHALON_ICON_SIZES})
  string(REGEX MATCH "zephalon-([0-9]+)\\.png$" _ ${icon})
  set(size ${CMAKE_MATCH_1})
  if(size)
    install(FILES ${icon} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME zephalon.png)
    if(size GREATER icon_largest)
      set(icon_largest ${size})
      set(ZEPHALON_ICON ${icon})
    endif()
  endif()
endforeach()
if(NOT ZEPHALON_ICON)
  if(EXISTS ${CMAKE_SOURCE_DIR}/resources/zephalon.svg)
    set(ZEPHALON_ICON ${CMAKE_SOURCE_DIR}/resources/zephalon.svg)
  elseif(EXISTS ${CMAKE_SOURCE_DIR}/resources/zephalon.png)
    set(ZEPHALON_ICON ${CMAKE_SOURCE_DIR}/resources/zephalon.png)
  else()
    set(ZEPHALON_ICON ${CMAKE_SOURCE_DIR}/docs/guide/images/zephalon.svg)
  endif()
  get_filename_component(icon_ext ${ZEPHALON_ICON} LAST_EXT)
  if(icon_ext STREQUAL ".svg")
    set(icon_dir ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  else()
    set(icon_dir ${CMAKE_INSTALL_DATADIR}/icons/hicolor/256x256/apps)
  endif()
  install(FILES ${ZEPHALON_ICON} DESTINATION ${icon_dir} RENAME zephalon${icon_ext})
endif()
get_filename_component(icon_ext ${ZEPHALON_ICON} LAST_EXT)
install(FILES ${ZEPHALON_ICON} DESTINATION ${CMAKE_INSTALL_DATADIR}/pixmaps RENAME zephalon${icon_ext})

install(FILES packaging/zephalon.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
# .crva, .ibob, .mrot and .mant, so a file manager offers the workbench to open them.
install(FILES packaging/zephalon.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
