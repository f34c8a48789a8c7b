# One direction of dependencies between the source folders: a folder may include its own headers
# and those of the folders below it, never those above it or beside it.
#
#   base <- store <- stats; store <- league <- globaledit (with stats), reports, grid, exchange,
#   publish <- cli, ui and shell
#
# ui and shell are the window program's two halves and may include each other. Run at configure
# time (include this file and call tavrel_check_layers), or as a script:
#   cmake -DTAVREL_LAYERS_ROOT=<source tree> -P Layers.cmake
# Either way a backward include stops with a message naming the file and the include.

cmake_minimum_required(VERSION 3.22) # for the script mode; the project asks the same

set(TAVREL_LAYER_base base)
set(TAVREL_LAYER_store base store)
set(TAVREL_LAYER_stats base store stats)
set(TAVREL_LAYER_league base store league)
set(TAVREL_LAYER_globaledit base store stats league globaledit)
set(TAVREL_LAYER_reports base store league reports)
set(TAVREL_LAYER_grid base store league grid)
set(TAVREL_LAYER_exchange base store league exchange)
set(TAVREL_LAYER_publish base store league publish)
set(TAVREL_LAYER_cli base store stats league globaledit reports exchange publish cli)
set(TAVREL_LAYER_ui base store stats league globaledit reports grid exchange publish ui shell)
set(TAVREL_LAYER_shell base store stats league globaledit reports grid exchange publish ui
    shell)
set(TAVREL_LAYERS base store stats league globaledit reports grid exchange publish cli ui shell)

function(tavrel_check_layers root)
    set(problems "")
    foreach(layer IN LISTS TAVREL_LAYERS)
        file(GLOB_RECURSE sources LIST_DIRECTORIES false
             "${root}/${layer}/*.h" "${root}/${layer}/*.cpp")
        foreach(source IN LISTS sources)
            file(STRINGS "${source}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"[A-Za-z0-9_]+/")
            foreach(line IN LISTS includes)
                string(REGEX MATCH "\"([A-Za-z0-9_]+)/[^\"]*\"" target "${line}")
                set(folder "${CMAKE_MATCH_1}")
                # Folders that are no layer (a header beside the source) are not ours to judge.
                if(NOT folder IN_LIST TAVREL_LAYERS)
                    continue()
                endif()
                if(NOT folder IN_LIST TAVREL_LAYER_${layer})
                    file(RELATIVE_PATH shown "${root}" "${source}")
                    list(JOIN TAVREL_LAYER_${layer} ", " allowed)
                    string(APPEND problems
                           "\n  ${shown}: #include ${target} (${layer}/ may use ${allowed})")
                endif()
            endforeach()
        endforeach()
    endforeach()
    if(problems)
        message(FATAL_ERROR "Backward include across the source folders:${problems}")
    endif()
endfunction()

if(CMAKE_SCRIPT_MODE_FILE AND DEFINED TAVREL_LAYERS_ROOT)
    tavrel_check_layers("${TAVREL_LAYERS_ROOT}")
endif()
