# Cross-building the Windows x86_64 program on Debian with the mingw-w64 compilers (posix threads,
# so std::thread and std::mutex work) against the prefix of Windows libraries given as
# QUILLOA_WIN_PREFIX (see `make windows`).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(_triplet x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${_triplet}-gcc-posix)
set(CMAKE_CXX_COMPILER ${_triplet}-g++-posix)
set(CMAKE_RC_COMPILER ${_triplet}-windres)

if(NOT QUILLOA_WIN_PREFIX)
  message(FATAL_ERROR "Set QUILLOA_WIN_PREFIX to the unpacked Windows library prefix")
endif()
# Passed on to the compiler checks' own small projects, which read this file again.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES QUILLOA_WIN_PREFIX)

set(CMAKE_FIND_ROOT_PATH /usr/${_triplet} "${QUILLOA_WIN_PREFIX}" "${QUILLOA_WIN_PREFIX}/qt6")
# Libraries and headers come only from the Windows side; programs (moc, rcc, uic, windres) only
# from the build machine.
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The cross Qt runs the build machine's Qt 6 tools of the same version.
set(QT_HOST_PATH /usr)
set(QT_HOST_PATH_CMAKE_DIR /usr/lib/x86_64-linux-gnu/cmake)
set(CMAKE_PREFIX_PATH "${QUILLOA_WIN_PREFIX}/qt6" "${QUILLOA_WIN_PREFIX}")

set(SQLite3_INCLUDE_DIR "${QUILLOA_WIN_PREFIX}/include")
set(SQLite3_LIBRARY "${QUILLOA_WIN_PREFIX}/lib/libsqlite3.dll.a")
set(PostgreSQL_INCLUDE_DIR "${QUILLOA_WIN_PREFIX}/include")
set(PostgreSQL_LIBRARY "${QUILLOA_WIN_PREFIX}/lib/libpq.dll.a")

# ctest runs the test programs under Wine, through a script that keeps Wine's lasting
# processes off the test's output.
set(CMAKE_CROSSCOMPILING_EMULATOR "${CMAKE_CURRENT_LIST_DIR}/../packaging/windows/wine-run.sh")
