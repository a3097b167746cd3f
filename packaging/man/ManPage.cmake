cmake_minimum_required(VERSION 3.22)
# Writes a manual page from its template and the program's own --help, so the
# option texts (and vralctl's command lines) have one source: the program.
#   cmake -DPROGRAM=bin/vralctl -DTEMPLATE=vralctl.1.in -DOUTPUT=vralctl.1
#         -DVERSION=2.1.3 -P ManPage.cmake
# The template's @OPTIONS@ becomes the options as .TP paragraphs, @COMMANDS@
# the lines under "Commands:" in the help, @VERSION@ and @DATE@ the version and
# the day the page was made.

# Runs on the build machine without a display, whatever the build's checks.
set(ENV{QT_QPA_PLATFORM} offscreen)
set(ENV{ASAN_OPTIONS} detect_leaks=0)
execute_process(COMMAND ${PROGRAM} --help OUTPUT_VARIABLE help RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "${PROGRAM} --help failed: ${status}")
endif()

# Text as roff reads it: backslashes shown, a line never taken for a request;
# the brackets kept out of the way of the list split below come back.
function(roff_text out text)
    string(REPLACE "\\" "\\e" text "${text}")
    string(REPLACE "@LB@" "[" text "${text}")
    string(REPLACE "@RB@" "]" text "${text}")
    string(REPLACE "@SC@" ";" text "${text}")
    string(REGEX REPLACE "^([.'])" "\\\\&\\1" text "${text}")
    set(${out} "${text}" PARENT_SCOPE)
endfunction()

# An option's text: an option named in it is typed as it stands, with minus
# signs, not hyphens.
function(roff_description out text)
    roff_text(text "${text}")
    string(REGEX REPLACE "(^|[ (])--([a-z])" "\\1\\\\-\\\\-\\2" text "${text}")
    set(${out} "${text}" PARENT_SCOPE)
endfunction()

string(REPLACE "[" "@LB@" help "${help}")
string(REPLACE "]" "@RB@" help "${help}")
string(REPLACE ";" "@SC@" help "${help}")
string(REPLACE "\n" ";" lines "${help}")
set(section "")
set(options "")
set(commands "")
foreach(line IN LISTS lines)
    if(line MATCHES "^(Options|Commands|Arguments):$")
        set(section "${CMAKE_MATCH_1}")
    elseif(line STREQUAL "")
        set(section "")
    elseif(section STREQUAL "Options" AND line MATCHES "^  (-([^ ]| [^ ])*)  +(.*)$")
        # "  -v, --version    Displays ...": the names in bold, <ARG> in italics.
        roff_text(names "${CMAKE_MATCH_1}")
        roff_description(text "${CMAKE_MATCH_3}")
        string(REPLACE "-" "\\-" names "${names}")
        string(REGEX REPLACE "<([^>]+)>" "\\\\fI\\1\\\\fB" names "${names}")
        string(APPEND options ".TP\n\\fB${names}\\fR\n${text}\n")
    elseif(section STREQUAL "Options" AND line MATCHES "^   +([^ ].*)$")
        roff_description(text "${CMAKE_MATCH_1}")
        string(APPEND options "${text}\n")
    elseif(section STREQUAL "Commands" AND line MATCHES "^  (.*)$")
        roff_text(text "${CMAKE_MATCH_1}")
        string(REPLACE "-" "\\-" text "${text}")
        string(APPEND commands "${text}\n")
    endif()
endforeach()
if(options STREQUAL "")
    message(FATAL_ERROR "${PROGRAM} --help lists no options")
endif()

string(TIMESTAMP date "%Y-%m-%d" UTC)
file(READ ${TEMPLATE} page)
string(REPLACE "@OPTIONS@" "${options}" page "${page}")
string(REPLACE "@COMMANDS@" ".nf\n${commands}.fi" page "${page}")
string(REPLACE "@VERSION@" "${VERSION}" page "${page}")
string(REPLACE "@DATE@" "${date}" page "${page}")
file(WRITE ${OUTPUT} "${page}")
