# Checks that code names the stored codes (foundation/CardCodes.h) instead of writing them bare:
# a line that reads or writes one of the stored code fields, or passes a code on to a function that
# takes one, may not hold a code literal ("S", "G", "BOTH", ...), and a data source or a selection
# handle is not compared with or set to a bare number.
# CardCodes.h itself and the file formats, which read and write the stored texts as they are, are
# left out: -DFORMATS=<folder/file,...>. Files still to be moved onto the names are named in
# -DKNOWN_EXCEPTIONS=<folder/file,...>; they are listed, and one that no longer needs it is said so.
# Run as: cmake -DSOURCE_DIR=<src> [-DFORMATS=...] [-DKNOWN_EXCEPTIONS=...] -P CheckCodes.cmake
# With -DREPORT_ONLY=ON it prints what it found and does not fail (used to test the check itself).
cmake_minimum_required(VERSION 3.25)
if(NOT SOURCE_DIR)
    message(FATAL_ERROR "CheckCodes: SOURCE_DIR is not set")
endif()

string(REPLACE "," ";" formats "foundation/CardCodes.h,${FORMATS}")
string(REPLACE "," ";" known_exceptions "${KNOWN_EXCEPTIONS}")

# The stored fields whose value is a code, and the calls that take or give one.
set(code_names
    _fill_type fill_type fillType fillCode enableFillControls Card_fill_style card_prop_set
    _stroke_border_type Card_border_style
    _shape_type Set_Shape_Type Get_shape_type
    Card_Shape
    sign_or_fingureprint Set_Sign_Or_FP Sign_Or_FP_Val
    export_card_side Print_Card_Side card_side_str Set_data_table_value_to_card
    createGraphicOfClass ReplaceGraphicText
    Print_Card_Algn)
list(JOIN code_names "|" code_names_re)
set(names_re "(^|[^A-Za-z0-9_])(${code_names_re})([^A-Za-z0-9_]|$)")
# Every stored text code: fills, outlines, shapes, sides, arrangements, borders, signatures.
set(text_code_re "\"(S|G|H|I|R|RR|E|C|T|D|DS|P|F|B|BOTH|U|L|DA|DO|DD|DDD)\"")
# Any side or fill compared with or set to a code, whatever the variable is called, and "BOTH".
set(side_or_fill_re
    "([sS]ide|[fF]ill)[A-Za-z_]*(\\(\\))?[ \t]*(==|!=|=)[ \t]*(QLatin1String|QStringLiteral|QString)\\(\"(S|G|H|I|F|B|BOTH)\"\\)|\"BOTH\"")
# A data source code or a selection handle written as a number.
set(number_code_re
    "(data_source_type|Set_Data_source_type|m_handle|[^A-Za-z0-9_]handle)[ \t]*(\\(|==|!=|=)[ \t]*[0-9]")

set(problems)
set(found_exceptions)
file(GLOB_RECURSE files RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/*.h ${SOURCE_DIR}/*.cpp)
list(SORT files)
foreach(file ${files})
    if(file IN_LIST formats)
        continue()
    endif()
    # only files with a candidate line are walked line by line, for its number
    file(STRINGS ${SOURCE_DIR}/${file} candidates REGEX "${text_code_re}|${number_code_re}")
    if(NOT candidates)
        continue()
    endif()
    # one list item per line: semicolons and brackets would split or join items
    file(READ ${SOURCE_DIR}/${file} text)
    string(REPLACE ";" "<semicolon>" text "${text}")
    string(REPLACE "[" "<open>" text "${text}")
    string(REPLACE "]" "<close>" text "${text}")
    string(REPLACE "\n" ";" lines "${text}")
    set(number 0)
    foreach(line IN LISTS lines)
        math(EXPR number "${number} + 1")
        # what a comment says is not code
        string(REGEX REPLACE "//.*$" "" code "${line}")
        set(hit OFF)
        if(code MATCHES "${names_re}" AND code MATCHES "${text_code_re}")
            set(hit ON)
        elseif(code MATCHES "${side_or_fill_re}" OR code MATCHES "${number_code_re}")
            set(hit ON)
        endif()
        if(NOT hit)
            continue()
        endif()
        if(file IN_LIST known_exceptions)
            list(APPEND found_exceptions ${file})
            continue()
        endif()
        string(STRIP "${code}" shown)
        list(APPEND problems "${file}:${number}: a bare stored code where CardCodes.h names it: ${shown}")
    endforeach()
endforeach()

list(REMOVE_DUPLICATES found_exceptions)
foreach(file ${known_exceptions})
    if(file IN_LIST found_exceptions)
        message(STATUS "known exception still to name its codes: ${file}")
    else()
        message(STATUS "${file} no longer writes a bare code: drop it from the known exceptions")
    endif()
endforeach()

list(LENGTH problems count)
foreach(problem ${problems})
    string(REPLACE "<semicolon>" ";" problem "${problem}")
    string(REPLACE "<open>" "[" problem "${problem}")
    string(REPLACE "<close>" "]" problem "${problem}")
    message(STATUS "${problem}")
endforeach()
if(count GREATER 0)
    if(REPORT_ONLY)
        message(STATUS "codes: ${count} problem(s)")
    else()
        message(FATAL_ERROR "codes: ${count} problem(s)")
    endif()
else()
    message(STATUS "codes: every stored code is named")
endif()
