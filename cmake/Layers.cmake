# One direction of dependencies between the source folders: a folder may include its own headers
# and those of the folders below it, never those above it or beside it.
#
#   base <- store <- stats; store <- fileformat <- safety <- league (and demo) <- globaledit (with
#   stats), reports, grid, exchange, session, publish <- cli; ... <- ui <- shell
#
# ui holds the windows, shell only the start-up that brings them up. Run at configure
# time (include this file and call tavrel_check_layers), or as a script:
#   cmake -DTAVREL_LAYERS_ROOT=<source tree> -P Layers.cmake
# Either way a backward include stops with a message naming the file and the include.

cmake_minimum_required(VERSION 3.22) # for the script mode; the project asks the same

set(TAVREL_LAYER_base base)
set(TAVREL_LAYER_store base store)
set(TAVREL_LAYER_stats base store stats)
set(TAVREL_LAYER_fileformat base store fileformat)
set(TAVREL_LAYER_safety base store fileformat safety)
set(TAVREL_LAYER_league base store fileformat safety league)
set(TAVREL_LAYER_demo base store fileformat safety demo)
set(TAVREL_CORE base store stats fileformat safety league)
set(TAVREL_LAYER_globaledit ${TAVREL_CORE} globaledit)
set(TAVREL_LAYER_reports ${TAVREL_CORE} reports)
set(TAVREL_LAYER_grid ${TAVREL_CORE} grid)
set(TAVREL_LAYER_exchange ${TAVREL_CORE} exchange)
set(TAVREL_LAYER_session ${TAVREL_CORE} session)
set(TAVREL_LAYER_publish ${TAVREL_CORE} publish)
set(TAVREL_LAYER_cli ${TAVREL_CORE} demo globaledit reports exchange session publish cli)
set(TAVREL_LAYER_ui ${TAVREL_CORE} globaledit reports grid exchange session publish ui)
set(TAVREL_LAYER_shell ${TAVREL_CORE} globaledit reports grid exchange session publish ui shell)
set(TAVREL_LAYERS base store stats fileformat safety league demo globaledit reports grid exchange
    session publish cli ui shell)

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
