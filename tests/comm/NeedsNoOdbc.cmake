# Fails when the program named by PROGRAM loads the ODBC library: the
# measurement reads the algorithm record, not the database.
execute_process(COMMAND readelf -d "${PROGRAM}" OUTPUT_VARIABLE dynamic RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "readelf could not read ${PROGRAM}")
endif()
if(NOT dynamic MATCHES "NEEDED")
  message(FATAL_ERROR "${PROGRAM} shows no libraries it needs: not a dynamic program?")
endif()
if(dynamic MATCHES "libodbc")
  message(FATAL_ERROR "${PROGRAM} loads the ODBC library")
endif()
