# nusari-tool record FILE -o OUT: the written record keeps the variation and
# the comments of the file read. Run with -DTOOL=, -DINPUT= and -DOUTPUT= (a
# UTF-8 format, so that the text can be matched here).
file(REMOVE ${OUTPUT})
execute_process(COMMAND ${TOOL} record ${INPUT} -o ${OUTPUT} RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "nusari-tool record exited with ${status}")
endif()
file(READ ${OUTPUT} text)
foreach(expected "変化：2手" "*変化の手順はこちらが本筋かもしれない。" "*後手の飛車先の歩交換を許すと")
  string(FIND "${text}" "${expected}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "${OUTPUT} lacks \"${expected}\":\n${text}")
  endif()
endforeach()
