# Installs the build into an empty prefix and checks that a desktop finds
# everything: the programs, the desktop entry with its icon, the icons, the
# file types, the help and the sample map. Run by CTest with BUILD_DIR and PREFIX.
file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}"
  RESULT_VARIABLE rc OUTPUT_QUIET)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cmake --install failed (${rc})")
endif()

set(expected
  bin/velmot bin/velmot-cli libexec/velmot/velmot-cli-gis
  share/applications/velmot.desktop
  share/mime/packages/velmot.xml
  share/icons/hicolor/scalable/apps/velmot.svg
  share/doc/velmot/help/index.html
  share/doc/velmot/work-file.md
  share/velmot/sample/sample.vlm share/velmot/sample/sample.bmp)
foreach(size 16 32 48 64 128 256)
  list(APPEND expected share/icons/hicolor/${size}x${size}/apps/velmot.png)
endforeach()
foreach(f ${expected})
  if(NOT EXISTS "${PREFIX}/${f}")
    message(FATAL_ERROR "not installed: ${f}")
  endif()
endforeach()

file(READ "${PREFIX}/share/applications/velmot.desktop" entry)
foreach(line "Icon=velmot" "Exec=velmot %f" "application/x-velmot-work;" "application/x-velmot-map;")
  string(FIND "${entry}" "${line}" at)
  if(at LESS 0)
    message(FATAL_ERROR "the desktop entry lacks ${line}")
  endif()
endforeach()
file(READ "${PREFIX}/share/mime/packages/velmot.xml" mime)
foreach(glob "*.vlm" "*.idt")
  string(FIND "${mime}" "pattern=\"${glob}\"" at)
  if(at LESS 0)
    message(FATAL_ERROR "no MIME type for ${glob}")
  endif()
endforeach()

# The installed program runs from there.
execute_process(COMMAND "${PREFIX}/bin/velmot" --version RESULT_VARIABLE rc OUTPUT_VARIABLE out)
if(NOT rc EQUAL 0 OR NOT out MATCHES "1\\.22")
  message(FATAL_ERROR "installed velmot --version: ${rc} ${out}")
endif()
# velmot-cli finds the helper that runs its GDAL commands.
execute_process(COMMAND "${PREFIX}/bin/velmot-cli" import --help RESULT_VARIABLE rc
  OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0 OR NOT out MATCHES "name-field")
  message(FATAL_ERROR "installed velmot-cli import --help: ${rc} ${out} ${err}")
endif()
file(REMOVE_RECURSE "${PREFIX}")
