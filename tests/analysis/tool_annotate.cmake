# nusari-tool annotate with the fake USI engine: the comments get the score,
# a record analysed once is skipped, an engine that gives no score fails.
file(REMOVE_RECURSE ${FOLDER})
file(MAKE_DIRECTORY ${FOLDER})
execute_process(COMMAND ${TOOL} annotate ${INPUT} --engine "bash ${ENGINE} resign" --seconds 1
                        -o ${FOLDER}/once.kifu
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "annotate failed (${rc}): ${out} ${err}")
endif()
file(READ ${FOLDER}/once.kifu text)
if(NOT text MATCHES "\\*#評価値=-?42" OR NOT text MATCHES "#エンジン=Fake resign")
  message(FATAL_ERROR "no analysis in the comments: ${text}")
endif()
execute_process(COMMAND ${TOOL} annotate ${FOLDER}/once.kifu --engine "bash ${ENGINE} resign"
                        --seconds 1 -o ${FOLDER}/twice.kifu
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0 OR NOT out MATCHES "already analysed" OR EXISTS ${FOLDER}/twice.kifu)
  message(FATAL_ERROR "an analysed record was not skipped (${rc}): ${out} ${err}")
endif()
execute_process(COMMAND ${TOOL} annotate ${INPUT} --engine "bash ${ENGINE} crash" --seconds 1
                        -o ${FOLDER}/crashed.kifu
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(rc EQUAL 0 OR NOT err MATCHES "no move judged")
  message(FATAL_ERROR "a crashing engine was not reported (${rc}): ${out} ${err}")
endif()
