# Installs the build into a fresh folder and checks that a desktop finds the
# program, its entry, the puzzle file type and both icons there.
file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}"
                RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "install failed: ${result}")
endif()
foreach(file
    bin/numbloc
    share/applications/numbloc.desktop
    share/mime/packages/numbloc.xml
    share/icons/hicolor/scalable/apps/numbloc.svg
    share/icons/hicolor/scalable/mimetypes/application-x-numbloc.svg
    share/icons/hicolor/32x32/apps/numbloc.png
    share/icons/hicolor/48x48/mimetypes/application-x-numbloc.png)
  if(NOT EXISTS "${PREFIX}/${file}")
    message(FATAL_ERROR "not installed: ${file}")
  endif()
endforeach()
file(READ "${PREFIX}/share/applications/numbloc.desktop" entry)
foreach(line "Exec=numbloc %f" "Icon=numbloc" "MimeType=application/x-numbloc;" "Type=Application")
  string(FIND "${entry}" "${line}" at)
  if(at LESS 0)
    message(FATAL_ERROR "the desktop entry lacks '${line}'")
  endif()
endforeach()
file(READ "${PREFIX}/share/mime/packages/numbloc.xml" mime)
foreach(piece [[type="application/x-numbloc"]] [[<glob pattern="*.nbl"/>]] [[<icon name="application-x-numbloc"/>]])
  string(FIND "${mime}" "${piece}" at)
  if(at LESS 0)
    message(FATAL_ERROR "the file type lacks ${piece}")
  endif()
endforeach()
file(REMOVE_RECURSE "${PREFIX}")
