# Sources are collected per folder so that a new class needs no build edit.
function(quilloa_glob_sources out_var base_dir)
  file(GLOB_RECURSE _found CONFIGURE_DEPENDS
    "${base_dir}/*.cpp" "${base_dir}/*.h" "${base_dir}/*.ui" "${base_dir}/*.qrc")
  set(${out_var} ${_found} PARENT_SCOPE)
endfunction()

# Platform pieces: a file named *Windows* is the Windows side of an interface and is built only
# there; the Linux side (OpenSSL, Qt's code page 936 converter, CUPS, fontconfig, the PDF
# spooler, POSIX modes, the Debian package, a PostgreSQL server of the tests' own and the socket
# relay between it and a test) is left out of a Windows build.
set(QUILLOA_LINUX_ONLY_SOURCES "core/startup/KeyDerivation.cpp" "core/text/Cp936Codec.cpp"
  "core/oldimport/JetFilePath.cpp"
  "ui/printing/CupsPrintQueue" "ui/printing/CupsDefaultPaper" "ui/printing/CupsJobWatch"
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
      list(FILTER _kept EXCLUDE REGEX "/${linux_only}")
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
