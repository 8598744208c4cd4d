# SPDX-License-Identifier: GPL-3.0-or-later
# cmake -DIN=page.1 -DOUT=page.1.gz -P gzip_man.cmake: the manual page compressed
# without a time stamp, so that the same page always gives the same file.
execute_process(COMMAND gzip -9 -n -c "${IN}" OUTPUT_FILE "${OUT}" RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "gzip failed on ${IN}")
endif()
