# Sources are listed by hand, in each library's Sources.cmake. A file on disk that no list names
# stops the configure step instead of being left out of the build unseen.
# quilloa_check_listed(BASE <folder> FOLDERS <subfolders...> FILES <listed files...>)
function(quilloa_check_listed)
  cmake_parse_arguments(PARSE_ARGV 0 _arg "" "BASE" "FOLDERS;FILES")
  set(_on_disk)
  foreach(folder IN LISTS _arg_FOLDERS)
    file(GLOB_RECURSE _found RELATIVE "${_arg_BASE}" "${_arg_BASE}/${folder}/*.cpp"
      "${_arg_BASE}/${folder}/*.h")
    list(APPEND _on_disk ${_found})
  endforeach()
  if(_arg_FILES)
    list(REMOVE_ITEM _on_disk ${_arg_FILES})
  endif()
  if(_on_disk)
    list(JOIN _on_disk "\n  " _missing)
    message(FATAL_ERROR "Files below ${_arg_BASE} that no source list names (add them to its "
      "Sources.cmake or Tests.cmake):\n  ${_missing}")
  endif()
endfunction()

# Platform pieces: a file named *Windows* is the Windows side of an interface and is built only
# there; the Linux side (OpenSSL, Qt's code page 936 converter, CUPS, fontconfig, the PDF
# spooler, POSIX modes, the Debian package, a PostgreSQL server of the tests' own and the socket
# relay between it and a test) is left out of a Windows build.
set(QUILLOA_LINUX_ONLY_SOURCES "core/startup/KeyDerivation.cpp" "core/text/Cp936Conversion.cpp"
  "core/files/FileSystemKind.cpp"
  "core/oldimport/JetFilePath.cpp" "core/store/server/PasswordFileLocation.cpp"
  "ui/printing/CupsPrintQueue" "ui/printing/CupsConnection" "ui/printing/CupsDefaultPaper" "ui/printing/CupsJobWatch"
  "ui/printing/SpoolerPageDevice"
  "ui/startup/SmoothKaiRule"
  "support/PostgresServer.cpp" "support/FaultRelay" "ui/printing/TestCupsPrinting"
  "ui/printing/TestSpoolerPageDevice" "ui/startup/TestSmoothKaiRule" "package/TestPackage"
  "core/startup/TestPrivateModes" "core/store/server/TestServerFaults" "core/store/server/TestPostgresServer"
  "core/backup/TestServerBackup")
function(quilloa_platform_sources var)
  set(_kept ${${var}})
  if(WIN32)
    foreach(linux_only IN LISTS QUILLOA_LINUX_ONLY_SOURCES)
      list(FILTER _kept EXCLUDE REGEX "(^|/)${linux_only}")
    endforeach()
  else()
    list(FILTER _kept EXCLUDE REGEX "Windows[^/]*$")
  endif()
  set(${var} ${_kept} PARENT_SCOPE)
endfunction()
# On Linux the Windows hooks do nothing; cmake/QuilloaWindows.cmake defines them for Windows.
if(NOT WIN32)
  function(quilloa_windows_program target)
  endfunction()
endif()
