# The Windows build (`make windows`, cross-built on Debian with cmake/mingw-w64-x86_64.cmake):
# the platform pieces of src/platform/windows, the libraries of the Windows prefix, and a
# program folder that runs as it is: the DLLs, Qt's plugins and Chinese translations beside
# quilloa.exe.
set(QUILLOA_WIN_PLATFORM "${PROJECT_SOURCE_DIR}/src/platform/windows")
set(QUILLOA_WIN_PREFIX "${QUILLOA_WIN_PREFIX}" CACHE PATH "The unpacked Windows library prefix")

# The POSIX file calls of the store code, mapped for the Windows C runtime (see the header).
add_compile_options("$<$<COMPILE_LANGUAGE:CXX>:SHELL:-include ${QUILLOA_WIN_PLATFORM}/PosixOnWindows.h>")
include_directories(SYSTEM "${QUILLOA_WIN_PLATFORM}/include")

add_library(quilloa_xlsxwriter SHARED IMPORTED)
set_target_properties(quilloa_xlsxwriter PROPERTIES
  IMPORTED_IMPLIB "${QUILLOA_WIN_PREFIX}/lib/libxlsxwriter.dll.a"
  IMPORTED_LOCATION "${QUILLOA_WIN_PREFIX}/bin/libxlsxwriter.dll"
  INTERFACE_INCLUDE_DIRECTORIES "${QUILLOA_WIN_PREFIX}/include")

# The reader of the older program's stores, with the iconv it converts Jet's UCS-2 names with.
add_library(quilloa_mdb SHARED IMPORTED)
set_target_properties(quilloa_mdb PROPERTIES
  IMPORTED_IMPLIB "${QUILLOA_WIN_PREFIX}/lib/libmdb.dll.a"
  IMPORTED_LOCATION "${QUILLOA_WIN_PREFIX}/bin/libmdb-3.dll"
  INTERFACE_INCLUDE_DIRECTORIES "${QUILLOA_WIN_PREFIX}/include")

function(quilloa_windows_core target)
  target_sources(${target} PRIVATE "${QUILLOA_WIN_PLATFORM}/PosixOnWindows.cpp")
  target_link_libraries(${target} PRIVATE quilloa_xlsxwriter quilloa_mdb bcrypt)
  target_link_options(${target} INTERFACE "-Wl,--wrap=rename")
endfunction()

# Every program gets the manifest, the tests too: they open the same Chinese paths.
function(quilloa_windows_program target)
  target_sources(${target} PRIVATE "${QUILLOA_WIN_PLATFORM}/quilloa.rc")
  if(target STREQUAL "quilloa")
    set_target_properties(${target} PROPERTIES WIN32_EXECUTABLE ON)
  endif()
endfunction()

# The program folder: build-windows/ holds quilloa.exe; the tests find the same DLLs through
# WINEPATH (see `make windows-test`).
set(_qt "${QUILLOA_WIN_PREFIX}/qt6")
set(_gcc_runtime "/usr/lib/gcc/x86_64-w64-mingw32/12-posix")
set(QUILLOA_WIN_DLLS
  "${_qt}/bin/Qt6Core.dll" "${_qt}/bin/Qt6Gui.dll" "${_qt}/bin/Qt6Widgets.dll"
  "${_qt}/bin/Qt6Sql.dll" "${_qt}/bin/Qt6PrintSupport.dll" "${_qt}/bin/Qt6Svg.dll"
  "${_qt}/bin/Qt6Charts.dll" "${_qt}/bin/Qt6Test.dll"
  "${QUILLOA_WIN_PREFIX}/bin/libsqlite3-0.dll" "${QUILLOA_WIN_PREFIX}/bin/libpq.dll"
  "${QUILLOA_WIN_PREFIX}/bin/libxlsxwriter.dll" "${QUILLOA_WIN_PREFIX}/bin/zlib1.dll"
  "${QUILLOA_WIN_PREFIX}/bin/libmdb-3.dll" "${QUILLOA_WIN_PREFIX}/bin/iconv.dll"
  "${_gcc_runtime}/libstdc++-6.dll" "${_gcc_runtime}/libgcc_s_seh-1.dll"
  "/usr/x86_64-w64-mingw32/lib/libwinpthread-1.dll")
set(QUILLOA_WIN_PLUGINS platforms/qwindows.dll platforms/qoffscreen.dll
  styles/qwindowsvistastyle.dll sqldrivers/qsqlite.dll sqldrivers/qsqlpsql.dll
  imageformats/qsvg.dll iconengines/qsvgicon.dll)
set(QUILLOA_WIN_TRANSLATIONS qt_zh_CN.qm qtbase_zh_CN.qm)

set(_folder "${PROJECT_BINARY_DIR}")
set(_copies "")
foreach(dll IN LISTS QUILLOA_WIN_DLLS)
  get_filename_component(_name "${dll}" NAME)
  list(APPEND _copies COMMAND ${CMAKE_COMMAND} -E copy_if_different "${dll}" "${_folder}/${_name}")
endforeach()
foreach(plugin IN LISTS QUILLOA_WIN_PLUGINS)
  get_filename_component(_kind "${plugin}" DIRECTORY)
  list(APPEND _copies COMMAND ${CMAKE_COMMAND} -E make_directory "${_folder}/${_kind}"
    COMMAND ${CMAKE_COMMAND} -E copy_if_different "${_qt}/plugins/${plugin}" "${_folder}/${plugin}")
endforeach()
# Debian's qt6-translations-l10n: the .qm files are the same on every platform.
foreach(qm IN LISTS QUILLOA_WIN_TRANSLATIONS)
  list(APPEND _copies COMMAND ${CMAKE_COMMAND} -E make_directory "${_folder}/translations"
    COMMAND ${CMAKE_COMMAND} -E copy_if_different "/usr/share/qt6/translations/${qm}"
      "${_folder}/translations/${qm}")
endforeach()
# The test programs sit one folder down and find the same plugins through a qt.conf of their own
# (QT_PLUGIN_PATH would need a Windows path, which the Wine runs do not pass).
file(WRITE "${_folder}/tests/qt.conf" "[Paths]\nPrefix = ..\nTranslations = translations\nPlugins = .\n")
add_custom_target(quilloa_windows_folder ALL ${_copies}
  COMMAND ${CMAKE_COMMAND} -E copy_if_different "${QUILLOA_WIN_PLATFORM}/qt.conf" "${_folder}/qt.conf"
  COMMENT "Laying out the Windows program folder")
