# cmake -DSCDOC=... -DINPUT=page.1.scd -DOUTPUT=page.1.gz -DVERSION=x.y -P ScdocToMan.cmake
# The page's @VERSION@ becomes the project's version; the result is gzipped
# without a name or time stamp in the gzip header.
cmake_minimum_required(VERSION 3.25)
get_filename_component(folder ${OUTPUT} DIRECTORY)
get_filename_component(name ${OUTPUT} NAME_WLE)
file(MAKE_DIRECTORY ${folder})
file(REMOVE ${OUTPUT})
file(READ ${INPUT} text)
string(REPLACE "@VERSION@" "${VERSION}" text "${text}")
file(WRITE ${folder}/${name}.scd "${text}")
execute_process(COMMAND ${SCDOC}
                INPUT_FILE ${folder}/${name}.scd
                OUTPUT_FILE ${folder}/${name}
                ERROR_VARIABLE complaint
                RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "scdoc failed on ${INPUT}: ${complaint}")
endif()
execute_process(COMMAND gzip -n -9 -c ${folder}/${name}
                OUTPUT_FILE ${OUTPUT}
                RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    file(REMOVE ${OUTPUT})
    message(FATAL_ERROR "gzip failed on ${folder}/${name}")
endif()
