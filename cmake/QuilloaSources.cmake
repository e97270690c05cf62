# Sources are collected per folder so that a new class needs no build edit.
function(quilloa_glob_sources out_var base_dir)
  file(GLOB_RECURSE _found CONFIGURE_DEPENDS
    "${base_dir}/*.cpp" "${base_dir}/*.h" "${base_dir}/*.ui" "${base_dir}/*.qrc")
  set(${out_var} ${_found} PARENT_SCOPE)
endfunction()
