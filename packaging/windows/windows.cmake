# The Windows build: the flask as an icon file, made from the same pictures as
# the Linux icons, and for each executable a version resource and the
# application manifest.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
include(${CMAKE_CURRENT_LIST_DIR}/version.cmake)
orbitra_windows_version(${PROJECT_VERSION})
# The packages' names and the installer take the version from here.
file(WRITE ${PROJECT_BINARY_DIR}/windows-version.txt "${ORBITRA_WINDOWS_VERSION}\n")

set(ORBITRA_ICO ${PROJECT_BINARY_DIR}/flask.ico)
set(flask_sizes 16 24 32 48 64 128 256)
list(TRANSFORM flask_sizes PREPEND ${PROJECT_SOURCE_DIR}/app/art/flask- OUTPUT_VARIABLE flask_pngs)
list(TRANSFORM flask_pngs APPEND .png)
add_custom_command(
    OUTPUT ${ORBITRA_ICO}
    COMMAND Python3::Interpreter ${CMAKE_CURRENT_LIST_DIR}/make-ico.py ${ORBITRA_ICO} ${flask_pngs}
    DEPENDS ${CMAKE_CURRENT_LIST_DIR}/make-ico.py ${flask_pngs}
    COMMENT "Packing the flask pictures into flask.ico"
    VERBATIM)
add_custom_target(flask_ico DEPENDS ${ORBITRA_ICO})

# Gives `target` the flask as its icon, a version resource with `description`
# and the application manifest.
function(orbitra_windows_resources target description)
    set(rc ${PROJECT_BINARY_DIR}/${target}.rc)
    orbitra_write_rc(${rc} ${target} "${description}" ${ORBITRA_ICO})
    # In the target's folder: a source file's properties belong to a folder, and
    # the target's build sees only those of its own (a changed manifest then
    # rebuilds the resource).
    set_source_files_properties(${rc} TARGET_DIRECTORY ${target} PROPERTIES
        OBJECT_DEPENDS "${ORBITRA_ICO};${CMAKE_CURRENT_FUNCTION_LIST_DIR}/orbitra-table.manifest")
    target_sources(${target} PRIVATE ${rc})
    add_dependencies(${target} flask_ico)
endfunction()
