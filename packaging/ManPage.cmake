# Writes a program's manual page with help2man from its --help and --version, adding the --help
# of every subcommand the program lists, so that the page names each command the program has.
#
#   cmake -DPROGRAM=... -DHELP2MAN=... -DDESCRIPTION=... -DINCLUDE=... -DOUTPUT=page.1.gz
#         -P ManPage.cmake

# Lines that roff would take for requests, and backslashes, are made plain text.
function(roff_literal text out)
    string(REPLACE "\\" "\\e" text "${text}")
    string(REGEX REPLACE "(^|\n)([.'])" "\\1\\\\&\\2" text "${text}")
    set(${out} "${text}" PARENT_SCOPE)
endfunction()

function(run_help out)
    execute_process(COMMAND ${PROGRAM} ${ARGN} --help
        OUTPUT_VARIABLE help RESULT_VARIABLE result)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "${PROGRAM} ${ARGN} --help failed: ${result}")
    endif()
    set(${out} "${help}" PARENT_SCOPE)
endfunction()

get_filename_component(name ${PROGRAM} NAME)
get_filename_component(outputDir ${OUTPUT} DIRECTORY)
get_filename_component(page ${OUTPUT} NAME_WLE)
set(page ${outputDir}/${page})
set(includeFile ${OUTPUT}.h2m)
file(READ ${INCLUDE} extra)

# The commands: the names indented by two spaces under "Subcommands:".
run_help(help)
string(REPLACE "\n" ";" lines "${help}")
set(commands)
set(inList FALSE)
foreach(line IN LISTS lines)
    string(TOLOWER "${line}" lower)
    if(lower STREQUAL "subcommands:")
        set(inList TRUE)
    elseif(inList AND line MATCHES "^  ([a-z][a-z0-9-]*)( |$)")
        list(APPEND commands ${CMAKE_MATCH_1})
    elseif(inList AND NOT line MATCHES "^   ")
        set(inList FALSE)
    endif()
endforeach()

set(sections)
if(commands)
    string(APPEND sections "[COMMANDS]\n")
    foreach(command IN LISTS commands)
        run_help(commandHelp ${command})
        roff_literal("${commandHelp}" commandHelp)
        string(APPEND sections ".SS \"${name} ${command}\"\n.nf\n${commandHelp}.fi\n")
    endforeach()
endif()
file(WRITE ${includeFile} "${sections}${extra}")

execute_process(
    COMMAND ${HELP2MAN} --no-info --name=${DESCRIPTION} --include=${includeFile}
            --output=${page} ${PROGRAM}
    RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "help2man failed on ${PROGRAM}: ${result}")
endif()
# Compressed as Debian keeps manual pages, without a time stamp so that builds compare equal.
execute_process(COMMAND gzip -9nf ${page} RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "gzip failed on ${page}: ${result}")
endif()
