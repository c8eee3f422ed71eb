# SPDX-License-Identifier: GPL-3.0-or-later
# The layer order of src/ lives in src/layers.txt, read here by the build and by
# the `layering` test, so the two cannot disagree.

# Sets <out> to the folders of src/ in layer order and, for each folder F,
# QZM_LAYER_KINDS_<F> to its kinds (std, qt, qt-only).
function(qzm_read_layers out)
    file(STRINGS "${PROJECT_SOURCE_DIR}/src/layers.txt" lines)
    set(folders "")
    foreach(line IN LISTS lines)
        if(line MATCHES "^[ \t]*#" OR line MATCHES "^[ \t]*$")
            continue()
        endif()
        string(REGEX REPLACE "[ \t]+" ";" words "${line}")
        list(POP_FRONT words folder)
        if("program" IN_LIST words)
            continue()
        endif()
        list(APPEND folders ${folder})
        set(QZM_LAYER_KINDS_${folder} "${words}" PARENT_SCOPE)
    endforeach()
    set(${out} "${folders}" PARENT_SCOPE)
endfunction()

# A static library of one layer, linked to the layer below it (`below`, may be
# empty) and to `extra`.
function(qzm_layer_library name below)
    add_library(${name} STATIC)
    target_include_directories(${name} PUBLIC "${PROJECT_SOURCE_DIR}/src")
    target_link_libraries(${name} PUBLIC qzm_options ${below} ${ARGN})
endfunction()
