# Run by the build (packaging/windows.cmake): stages FILES (separated by
# "|", since paths may hold spaces) in STAGE/FOLDER, and zips that folder
# as ZIP.
string(REPLACE "|" ";" FILES "${FILES}")
file(REMOVE_RECURSE "${STAGE}")
file(MAKE_DIRECTORY "${STAGE}/${FOLDER}")
file(COPY ${FILES} DESTINATION "${STAGE}/${FOLDER}")
file(REMOVE "${ZIP}")
execute_process(COMMAND ${CMAKE_COMMAND} -E tar cf "${ZIP}" --format=zip "${FOLDER}"
    WORKING_DIRECTORY "${STAGE}" RESULT_VARIABLE failed)
if(failed)
    message(FATAL_ERROR "could not write ${ZIP}")
endif()
