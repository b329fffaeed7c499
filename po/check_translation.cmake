# Checks one translation against the template made from the sources:
# every text of the template translated (none missing, untranslated or
# fuzzy), and the format specifiers of every translation matching its
# original. Run with -DMSGFMT, -DMSGCMP, -DTRANSLATION and -DTEMPLATE.
execute_process(COMMAND ${MSGFMT} --check --statistics --output-file=/dev/null ${TRANSLATION}
  RESULT_VARIABLE status ERROR_VARIABLE report)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${TRANSLATION}: formats do not match\n${report}")
endif()
if(report MATCHES "fuzzy|untranslated")
  message(FATAL_ERROR "${TRANSLATION}: ${report}")
endif()
execute_process(COMMAND ${MSGCMP} --no-fuzzy-matching ${TRANSLATION} ${TEMPLATE}
  RESULT_VARIABLE status ERROR_VARIABLE report)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${TRANSLATION}: texts of the sources without translation\n${report}")
endif()
