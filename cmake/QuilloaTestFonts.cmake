# The window suites run again under fontconfig configurations of their own, each of which says
# exactly which Chinese fonts exist, so the windows are proven to look the same whichever of the
# common ones a PC has, and whatever this machine has: WenQuanYi Zen Hei beside the fonts the
# program depends on (the most common Chinese font of Linux desktops, which fontconfig then
# prefers for Han text), Noto CJK alone, and the AR PL faces with WenQuanYi but without Noto.
#
# WenQuanYi comes from the system when fonts-wqy-zenhei is installed (make installs it), or
# from QUILLOA_TEST_FONT_ROOT, a folder the package was unpacked into with dpkg-deb -x.
set(QUILLOA_TEST_FONT_ROOT "" CACHE PATH "Folder holding an unpacked fonts-wqy-zenhei package")

set(QUILLOA_FONT_SET_SUITES TestDrugWindow TestReferenceWindow TestSettingsWindow
  TestBackupWindow TestStatisticsWindow TestClinicLogWindow TestTakingsChartWindow
  TestLoginWindow TestAboutWindow TestMainWindow TestPrescriptionSheet TestOnScreenKeyboard
  TestScreenLock TestScreenFit)

set(_fonts_conf_dir /etc/fonts/conf.d)
set(_noto_dir /usr/share/fonts/opentype/noto)
set(_arpl_dir /usr/share/fonts/truetype/arphic)
file(GLOB _noto_confs "${_fonts_conf_dir}/*noto-cjk*")
file(GLOB _arpl_confs "${_fonts_conf_dir}/*arphic*")
set(_wqy_dir "")
foreach(_root IN ITEMS "" "${QUILLOA_TEST_FONT_ROOT}")
  if(NOT _wqy_dir AND EXISTS "${_root}/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc")
    set(_wqy_dir "${_root}/usr/share/fonts/truetype/wqy")
    file(GLOB _wqy_confs "${_root}/etc/fonts/conf.d/*wqy-zenhei*")
  endif()
endforeach()

# fontconfig's own rules (generic families, language defaults), without the rules of the fonts
# a set switches and without the user's and the machine's local additions.
file(GLOB _base_confs "${_fonts_conf_dir}/*.conf")
list(FILTER _base_confs EXCLUDE REGEX "(arphic|noto-cjk|wqy|50-user|51-local)")
set(_base_dirs /usr/share/fonts/truetype/dejavu)

# Writes <build>/fontsets/<name>/fonts.conf for these font folders and their rules, in the
# order fontconfig reads conf.d: by file name.
function(quilloa_font_set name)
  cmake_parse_arguments(SET "" "" "DIRS;CONFS" ${ARGN})
  set(keyed "")
  foreach(conf IN LISTS _base_confs SET_CONFS)
    get_filename_component(file_name "${conf}" NAME)
    list(APPEND keyed "${file_name}|${conf}")
  endforeach()
  list(SORT keyed)
  set(text "<?xml version=\"1.0\"?>\n<!DOCTYPE fontconfig SYSTEM \"urn:fontconfig:fonts.dtd\">\n<fontconfig>\n")
  foreach(dir IN LISTS _base_dirs SET_DIRS)
    string(APPEND text "  <dir>${dir}</dir>\n")
  endforeach()
  string(APPEND text "  <cachedir>${CMAKE_BINARY_DIR}/fontsets/cache</cachedir>\n")
  foreach(entry IN LISTS keyed)
    string(REGEX REPLACE "^[^|]*\\|" "" conf "${entry}")
    string(APPEND text "  <include ignore_missing=\"yes\">${conf}</include>\n")
  endforeach()
  string(APPEND text "</fontconfig>\n")
  file(WRITE "${CMAKE_BINARY_DIR}/fontsets/${name}/fonts.conf" "${text}")
  foreach(suite IN LISTS QUILLOA_FONT_SET_SUITES)
    add_test(NAME ${suite}_fonts_${name} COMMAND ${suite})
    set_tests_properties(${suite}_fonts_${name} PROPERTIES
      ENVIRONMENT "${QUILLOA_QT_ENV}QPA_PLATFORM=${QUILLOA_TEST_SCREEN};FONTCONFIG_FILE=${CMAKE_BINARY_DIR}/fontsets/${name}/fonts.conf;QUILLOA_SOURCE_DIR=${PROJECT_SOURCE_DIR};QUILLOA_BUILD_DIR=${PROJECT_BINARY_DIR}"
      TIMEOUT ${QUILLOA_TEST_TIMEOUT})
  endforeach()
endfunction()

# Cross-built test programs run under Wine, which takes no fontconfig configuration.
if(CMAKE_CROSSCOMPILING_EMULATOR)
  return()
endif()
if(EXISTS "${_noto_dir}")
  quilloa_font_set(noto DIRS "${_noto_dir}" CONFS ${_noto_confs})
endif()
if(NOT _wqy_dir)
  message(STATUS "WenQuanYi Zen Hei not found: the window suites run without it only "
    "(install fonts-wqy-zenhei, or set QUILLOA_TEST_FONT_ROOT to an unpacked copy)")
  return()
endif()
if(EXISTS "${_noto_dir}" AND EXISTS "${_arpl_dir}")
  quilloa_font_set(wenquanyi DIRS "${_noto_dir}" "${_arpl_dir}" "${_wqy_dir}"
    CONFS ${_noto_confs} ${_arpl_confs} ${_wqy_confs})
endif()
if(EXISTS "${_arpl_dir}")
  quilloa_font_set(without_noto DIRS "${_arpl_dir}" "${_wqy_dir}" CONFS ${_arpl_confs} ${_wqy_confs})
endif()
