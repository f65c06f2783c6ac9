# zk_skin_archive(OUT_VARIABLE ZIP_PATH [DOCUMENT name]): the rule that packs assets/skin into
# ZIP_PATH for a program's ZKZIP_RES resource; with DOCUMENT only that document and the files it
# names. Sets OUT_VARIABLE to ZIP_PATH in the caller.
function(zk_skin_archive out_variable zip)
  cmake_parse_arguments(S "" "DOCUMENT" "" ${ARGN})
  file(GLOB_RECURSE skin_files CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/assets/skin/*)
  add_custom_command(OUTPUT ${zip}
    COMMAND /usr/bin/python3 ${CMAKE_SOURCE_DIR}/scripts/pack-skin.py ${CMAKE_SOURCE_DIR}/assets/skin ${zip}
            ${S_DOCUMENT}
    DEPENDS ${skin_files} ${CMAKE_SOURCE_DIR}/scripts/pack-skin.py
    COMMENT "Packing the skin archive ${zip}")
  set(${out_variable} ${zip} PARENT_SCOPE)
endfunction()
