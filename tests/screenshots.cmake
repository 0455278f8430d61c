# The guide's pictures made afresh from the real windows: every picture the
# guide has comes out of the tool, and the tool finds in the windows what
# the pictures show (its exit code).
file(REMOVE_RECURSE ${OUT})
execute_process(COMMAND ${TOOL} ${OUT} RESULT_VARIABLE status ERROR_VARIABLE errors)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "screenshots failed (${status}):\n${errors}")
endif()
file(GLOB expected RELATIVE ${IMAGES} ${IMAGES}/*.png)
file(GLOB made RELATIVE ${OUT} ${OUT}/*.png)
if(NOT expected STREQUAL made)
  message(FATAL_ERROR "made ${made}, the guide has ${expected}")
endif()
foreach(picture IN LISTS made)
  file(SIZE ${OUT}/${picture} size)
  if(size LESS 5000)
    message(FATAL_ERROR "${picture} is only ${size} bytes")
  endif()
endforeach()
