# Making the layouts again gives the same bytes: the drafting script writes exactly the designs
# that are kept, and the layout maker turns every design into exactly the files that ship.
#   cmake -DMAKER=... -DDESIGNS=... -DSKETCH=... -DSHIPPED=... -DWORK=... -P this file
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/designs ${WORK}/Layouts)

find_program(PYTHON3 python3)
if(PYTHON3)
    execute_process(COMMAND ${PYTHON3} ${SKETCH} ${WORK}/designs
                    RESULT_VARIABLE rc OUTPUT_QUIET ERROR_VARIABLE err)
    if(NOT rc EQUAL 0)
        message(FATAL_ERROR "the drafting script failed: ${err}")
    endif()
    file(GLOB drafted ${WORK}/designs/*.txt)
    list(LENGTH drafted n)
    if(n LESS 40)
        message(FATAL_ERROR "the drafting script wrote only ${n} designs")
    endif()
    foreach(d ${drafted})
        get_filename_component(name ${d} NAME)
        execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${d} ${DESIGNS}/${name}
                        RESULT_VARIABLE differ)
        if(NOT differ EQUAL 0)
            message(FATAL_ERROR "designs/${name} is not what the drafting script draws: "
                                "edit the script and run it again")
        endif()
    endforeach()
endif()

file(GLOB designs ${DESIGNS}/*.txt)
execute_process(COMMAND ${MAKER} ${WORK}/Layouts ${designs}
                RESULT_VARIABLE rc OUTPUT_QUIET ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "the layout maker failed: ${err}")
endif()
file(GLOB made ${WORK}/Layouts/*)
list(LENGTH made made_count)
list(LENGTH designs design_count)
if(NOT made_count EQUAL design_count)
    message(FATAL_ERROR "${design_count} designs but ${made_count} layouts made")
endif()
foreach(f ${made})
    get_filename_component(name ${f} NAME)
    execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${f} ${SHIPPED}/${name}
                    RESULT_VARIABLE differ)
    if(NOT differ EQUAL 0)
        message(FATAL_ERROR "${name} made again differs from the one in ${SHIPPED}")
    endif()
endforeach()
file(REMOVE_RECURSE ${WORK})
message(STATUS "${made_count} layouts made again byte for byte")
