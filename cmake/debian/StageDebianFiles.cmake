# Run by cpack on the staged tree before it is packed: adds what Debian asks of every package,
# the copyright and the changelog (compressed) in /usr/share/doc/tralvo; compresses the
# manual pages and strips the compiler's notes from the programs and modules, leaving
# "cmake --install" as it is.
set(stage "${CPACK_TEMPORARY_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX}")
if(NOT IS_DIRECTORY "${stage}/bin")
    message(FATAL_ERROR "no staged tree at ${stage}")
endif()

set(doc "${stage}/share/doc/${CPACK_PACKAGE_NAME}")
file(MAKE_DIRECTORY "${doc}")
file(CHMOD "${stage}/share/doc" "${doc}" PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE
     GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
foreach(file "${CPACK_TRALVO_DEBIAN_COPYRIGHT}" "${CPACK_TRALVO_DEBIAN_CHANGELOG}")
    file(COPY "${file}" DESTINATION "${doc}"
         FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
endforeach()

# Compressed as Debian's tools do: best compression, no name or time stamp inside.
file(GLOB pages "${stage}/share/man/man[1-9]/*.[1-9]")
foreach(file "${doc}/changelog" ${pages})
    execute_process(COMMAND gzip -9nf "${file}" RESULT_VARIABLE result)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "gzip ${file} failed")
    endif()
endforeach()

# The notes and comments that dh_strip removes as well.
file(GLOB programs "${stage}/bin/*")
file(GLOB modules "${stage}/lib/${CPACK_PACKAGE_NAME}/*.so")
foreach(file ${programs} ${modules})
    set(options --remove-section=.comment --remove-section=.note)
    if(file MATCHES "[.]so$")
        list(APPEND options --strip-unneeded)
    endif()
    execute_process(COMMAND "${CPACK_TRALVO_STRIP}" ${options} "${file}" RESULT_VARIABLE result)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "strip ${file} failed")
    endif()
endforeach()
