# Debian's hardening flags (fortified calls, stack protector, read-only relocations bound at
# start) for the program as it is packaged, taken from dpkg-buildflags so they follow the
# distribution. Left out of sanitizer, fuzz and unoptimised builds, where fortification does
# not apply, and of the tests, which are not shipped.
option(QUILLOA_HARDENING "Build the program with the distribution's hardening flags" ON)

set(QUILLOA_HARDENING_COMPILE "")
set(QUILLOA_HARDENING_LINK "")
find_program(DPKG_BUILDFLAGS dpkg-buildflags)
if(QUILLOA_HARDENING AND DPKG_BUILDFLAGS AND NOT QUILLOA_SANITIZE AND NOT QUILLOA_FUZZ
   AND NOT CMAKE_BUILD_TYPE STREQUAL "Debug")
  foreach(kind CPPFLAGS CXXFLAGS LDFLAGS)
    execute_process(
      COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all
        ${DPKG_BUILDFLAGS} --get ${kind}
      OUTPUT_VARIABLE _flags OUTPUT_STRIP_TRAILING_WHITESPACE)
    separate_arguments(_flags UNIX_COMMAND "${_flags}")
    # Only the hardening: the build type chooses optimisation and debug information.
    foreach(flag IN LISTS _flags)
      if(flag MATCHES "^-Wl,")
        list(APPEND QUILLOA_HARDENING_LINK "${flag}")
      elseif(flag MATCHES "^(-D_FORTIFY_SOURCE|-fstack-protector|-fstack-clash|-fcf-protection|-Wformat|-Werror=format)")
        list(APPEND QUILLOA_HARDENING_COMPILE "${flag}")
      endif()
    endforeach()
  endforeach()
  message(STATUS "Hardening: ${QUILLOA_HARDENING_COMPILE} ${QUILLOA_HARDENING_LINK}")
endif()

function(quilloa_harden target)
  target_compile_options(${target} PRIVATE ${QUILLOA_HARDENING_COMPILE})
  get_target_property(_type ${target} TYPE)
  if(_type STREQUAL "EXECUTABLE")
    target_link_options(${target} PRIVATE ${QUILLOA_HARDENING_LINK})
  endif()
endfunction()
