# Compiles the help file: cmake -DSOURCE_DIR=... -DSTAGE_DIR=... -DPROJECT_FILE=Quillmead.hhp
#   -DOUTPUT=.../Quillmead.chm -DCHMCMD=chmcmd -DICONV=iconv -P BuildHelpFile.cmake
#
# The sources are UTF-8. Every file is turned into Shift-JIS (CP932) in a staging folder, the
# pages declaring charset=Shift_JIS instead of charset=utf-8, and chmcmd compiles the project
# there. A character that CP932 cannot hold, a page without its charset declaration, a file
# the project names but the sources lack, a link to an undefined anchor, or a compiler error
# fails the build.
foreach(var SOURCE_DIR STAGE_DIR PROJECT_FILE OUTPUT CHMCMD ICONV)
    if(NOT DEFINED ${var})
        message(FATAL_ERROR "BuildHelpFile.cmake: ${var} is not set")
    endif()
endforeach()

file(REMOVE_RECURSE ${STAGE_DIR})
file(MAKE_DIRECTORY ${STAGE_DIR})

file(GLOB sources ${SOURCE_DIR}/*.html ${SOURCE_DIR}/*.css ${SOURCE_DIR}/*.hhp ${SOURCE_DIR}/*.hhc
     ${SOURCE_DIR}/*.hhk)
set(utf8_declaration "charset=utf-8")
set(sjis_declaration "charset=Shift_JIS")
foreach(source IN LISTS sources)
    get_filename_component(name ${source} NAME)
    file(READ ${source} text)
    if(name MATCHES "\\.html$")
        string(FIND "${text}" "${utf8_declaration}" at)
        if(at EQUAL -1)
            message(FATAL_ERROR "${name}: the page does not declare ${utf8_declaration}")
        endif()
        string(REPLACE "${utf8_declaration}" "${sjis_declaration}" text "${text}")
    endif()
    file(WRITE ${STAGE_DIR}/${name}.utf8 "${text}")
    execute_process(COMMAND ${ICONV} -f UTF-8 -t CP932 ${STAGE_DIR}/${name}.utf8
                    OUTPUT_FILE ${STAGE_DIR}/${name}
                    ERROR_VARIABLE iconv_error
                    RESULT_VARIABLE iconv_result)
    if(NOT iconv_result EQUAL 0)
        message(FATAL_ERROR "${name}: not convertible to Shift-JIS: ${iconv_error}")
    endif()
    file(REMOVE ${STAGE_DIR}/${name}.utf8)
endforeach()

# Every file that the project lists must be there: chmcmd would leave it out with a note only.
file(STRINGS ${SOURCE_DIR}/${PROJECT_FILE} project_lines)
set(in_files FALSE)
foreach(line IN LISTS project_lines)
    string(STRIP "${line}" line)
    if(line MATCHES "^\\[")
        if(line STREQUAL "[FILES]")
            set(in_files TRUE)
        else()
            set(in_files FALSE)
        endif()
    elseif(in_files AND NOT line STREQUAL "" AND NOT EXISTS ${STAGE_DIR}/${line})
        message(FATAL_ERROR "${PROJECT_FILE} lists ${line}, which is not in ${SOURCE_DIR}")
    endif()
endforeach()

get_filename_component(project_name ${PROJECT_FILE} NAME_WE)
execute_process(COMMAND ${CHMCMD} --verbosity 1 ${PROJECT_FILE}
                WORKING_DIRECTORY ${STAGE_DIR}
                OUTPUT_VARIABLE chmcmd_output
                ERROR_VARIABLE chmcmd_output
                RESULT_VARIABLE chmcmd_result)
set(compiled ${STAGE_DIR}/${project_name}.chm)
# chmcmd reports an undefined anchor or a missing file as an "Error:" line yet exits with 0.
if(NOT chmcmd_result EQUAL 0 OR NOT EXISTS ${compiled} OR chmcmd_output MATCHES "(^|\n)Error:")
    message(FATAL_ERROR "chmcmd failed (${chmcmd_result}):\n${chmcmd_output}")
endif()

# A compiled help file opens with the signature "ITSF".
file(READ ${compiled} signature LIMIT 4 HEX)
if(NOT signature STREQUAL "49545346")
    message(FATAL_ERROR "${compiled} is not a compiled help file")
endif()
file(COPY_FILE ${compiled} ${OUTPUT})
