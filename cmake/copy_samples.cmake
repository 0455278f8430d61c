# Copies every file under SRC into DST unless DST already has it.
file(GLOB_RECURSE samples RELATIVE ${SRC} ${SRC}/*)
foreach(rel IN LISTS samples)
  if(NOT EXISTS ${DST}/${rel})
    get_filename_component(dir ${DST}/${rel} DIRECTORY)
    file(MAKE_DIRECTORY ${dir})
    file(COPY_FILE ${SRC}/${rel} ${DST}/${rel})
  endif()
endforeach()
