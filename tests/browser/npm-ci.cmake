# Installs the browser tests' npm packages into DIR. A machine without access
# to the npm registry still builds: the test then reports itself skipped.
execute_process(COMMAND "${NPM}" ci --no-audit --no-fund --loglevel=error
  WORKING_DIRECTORY "${DIR}"
  RESULT_VARIABLE result)
if(result EQUAL 0)
  file(TOUCH "${STAMP}")
else()
  message(WARNING "npm ci failed in ${DIR}; the browser tests will be skipped")
endif()
