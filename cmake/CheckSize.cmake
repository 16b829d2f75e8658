# ctest: fails when the release Install.exe is larger than its budget, and prints its size.
#   cmake -DFILE=Install.exe -DBUDGET=BYTES -P CheckSize.cmake
if(NOT EXISTS "${FILE}")
    message(FATAL_ERROR "${FILE} does not exist")
endif()
file(SIZE "${FILE}" size)
if(size GREATER BUDGET)
    math(EXPR excess "${size} - ${BUDGET}")
    message(FATAL_ERROR "Install.exe is ${size} bytes, over its budget of ${BUDGET} bytes by ${excess}; "
        "tools/size-report.sh shows where the bytes go")
endif()
math(EXPR headroom "${BUDGET} - ${size}")
message(STATUS "Install.exe is ${size} bytes, within its budget of ${BUDGET} bytes (${headroom} to spare)")
