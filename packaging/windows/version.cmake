# The version Windows shows for Orbitra Table: MAJOR.MINOR.PATCH, from a
# project version of two or three numbers (a missing PATCH is 0), and the
# resource script of an executable carrying it with the flask icon and the
# application manifest.
#
# Included by windows.cmake; run as a script it writes one resource script:
#   cmake -DVERSION=1.0.1 -DNAME=program -DDESCRIPTION=text -DICO=flask.ico
#         -DOUTPUT=program.rc -P version.cmake

# Sets ORBITRA_VERSION_MAJOR, _MINOR, _PATCH and ORBITRA_WINDOWS_VERSION
# (MAJOR.MINOR.PATCH) in the caller's scope.
function(orbitra_windows_version version)
    if(NOT version MATCHES "^([0-9]+)\\.([0-9]+)(\\.([0-9]+))?$")
        message(FATAL_ERROR "Version \"${version}\": Windows takes MAJOR.MINOR or MAJOR.MINOR.PATCH")
    endif()
    set(major ${CMAKE_MATCH_1})
    set(minor ${CMAKE_MATCH_2})
    set(patch "${CMAKE_MATCH_4}")
    if(patch STREQUAL "")
        set(patch 0)
    endif()
    foreach(part major minor patch)
        # Each part is one 16-bit word of the version resource.
        if(${part} GREATER 65535)
            message(FATAL_ERROR "Version \"${version}\": each part must be at most 65535")
        endif()
    endforeach()
    set(ORBITRA_VERSION_MAJOR ${major} PARENT_SCOPE)
    set(ORBITRA_VERSION_MINOR ${minor} PARENT_SCOPE)
    set(ORBITRA_VERSION_PATCH ${patch} PARENT_SCOPE)
    set(ORBITRA_WINDOWS_VERSION ${major}.${minor}.${patch} PARENT_SCOPE)
endfunction()

# Writes the resource script `output` of the executable `name`, described as
# `description`, with the icon file `ico`, for the version set above.
function(orbitra_write_rc output name description ico)
    set(ORBITRA_FILE ${name})
    set(ORBITRA_DESCRIPTION ${description})
    set(ORBITRA_ICO ${ico})
    set(ORBITRA_MANIFEST ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/orbitra-table.manifest)
    configure_file(${CMAKE_CURRENT_FUNCTION_LIST_DIR}/version.rc.in ${output} @ONLY)
endfunction()

if(CMAKE_SCRIPT_MODE_FILE STREQUAL CMAKE_CURRENT_LIST_FILE)
    orbitra_windows_version("${VERSION}")
    orbitra_write_rc(${OUTPUT} ${NAME} "${DESCRIPTION}" ${ICO})
endif()
