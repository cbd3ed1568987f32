# The Windows build: the flask as an icon file, made from the same pictures as
# the Linux icons, and a version resource for each executable.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
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

# Gives `target` the flask as its icon and a version resource with `description`.
function(orbitra_windows_resources target description)
    set(ORBITRA_FILE ${target})
    set(ORBITRA_DESCRIPTION ${description})
    set(rc ${PROJECT_BINARY_DIR}/${target}.rc)
    configure_file(${PROJECT_SOURCE_DIR}/packaging/windows/version.rc.in ${rc} @ONLY)
    set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS ${ORBITRA_ICO})
    target_sources(${target} PRIVATE ${rc})
    add_dependencies(${target} flask_ico)
endfunction()
