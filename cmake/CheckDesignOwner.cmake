# Checks that the design has one owner: the model's CardDesign, which the document holds.
# - The saved design's state is defined in the model only: Card_Property and CardDesign are defined
#   under model/, and no other header declares a field of its own under a stored page field's name
#   (the names of model/CardPageFields.h, the card's outline and size included; a pointer or
#   reference of that name, such as a window's control, is no field of the design), nor holds two
#   pages (a second definition of a design).
# - No window holds a page's saved fields: a header under a ui/ folder holds no Card_Property,
#   DesignSettings or CardDesign by value, alone or in a container (a reference or pointer into the
#   document's design is fine), and a window's source keeps none at file scope.
# - No header outside the model holds a design (CardDesign or DesignSettings) by value: the
#   document's is the one; a run plan keeps its copy in its source. What the compiler sees is
#   checked beside this: SKTDocument::design() hands out a read-only design (model/SKTDocument.h).
# - No process-wide table holds the rows: no ExcelBindingTable is static, extern, at namespace scope
#   or handed out by an instance() function, and no process-wide state object (a *State.h or
#   ModelGlobals) names a table, a page or a design.
# - The side being edited is the editor's view state: neither the model nor a process-wide state
#   object holds Card_Front_Or_Back.
# Run as: cmake -DSOURCE_DIR=<src> -P CheckDesignOwner.cmake
# With -DREPORT_ONLY=ON it prints what it found and does not fail (used to test the check itself).
cmake_minimum_required(VERSION 3.25)
if(NOT SOURCE_DIR)
    message(FATAL_ERROR "CheckDesignOwner: SOURCE_DIR is not set")
endif()

set(problems)
set(fields_header ${SOURCE_DIR}/model/CardPageFields.h)
if(NOT EXISTS ${fields_header})
    message(FATAL_ERROR "CheckDesignOwner: ${fields_header} is missing")
endif()
# The table's rows, and the names the card's outline and size are stored under on each page.
file(STRINGS ${fields_header} field_lines REGEX "(\\{|Name = )\"Card_[A-Za-z0-9_]+\"")
set(fields)
foreach(line ${field_lines})
    string(REGEX MATCH "\"(Card_[A-Za-z0-9_]+)\"" found "${line}")
    list(APPEND fields ${CMAKE_MATCH_1})
endforeach()
list(JOIN fields "|" fields_re)

set(page_types "Card_Property|DesignSettings|CardDesign")
# A declaration of a value (no pointer or reference) of a page type: "Card_Property front;",
# "std::optional<CardDesign> kept;", "Card_Property pages[2];".
set(page_value_re
    "^[ \t]*(mutable[ \t]+)?([A-Za-z_][A-Za-z0-9_:]*<)?(${page_types})[ \t]*(,[^>]*)?>?[ \t]+[A-Za-z_][A-Za-z0-9_]*[ \t]*(\\[[^]]*\\])?[ \t]*(\\{[^}]*\\}|=[^;]*)?;")
# The same at file scope (at the start of its line, static or not): what a source keeps for good.
set(file_scope_value_re
    "^(static[ \t]+|inline[ \t]+)?(const[ \t]+)?([A-Za-z_][A-Za-z0-9_:]*<)?(${page_types})[ \t]*(,[^>]*)?>?[ \t]+[A-Za-z_][A-Za-z0-9_]*[ \t]*(\\[[^]]*\\])?[ \t]*(\\{[^}]*\\}|=[^;]*)?;")
# A field of its own under a stored page field's name, neither pointer nor reference.
set(field_re
    "^[ \t]*[A-Za-z_][A-Za-z0-9_:<>, ]*[A-Za-z0-9_>][ \t]+(${fields_re})[ \t]*(\\{[^}]*\\}|=[^;]*)?;")
set(definition_re "^[ \t]*(class|struct)[ \t]+(${page_types})([ \t]*[:{]|[ \t]*$)")
set(table_name_re "[ \t&]*[ \t&][A-Za-z_][A-Za-z0-9_]*[ \t]*[;={]")
set(table_re
    "(^|[^A-Za-z0-9_])(static|extern)[ \t]+(const[ \t]+)?ExcelBindingTable${table_name_re}|ExcelBindingTable[ \t]*&[ \t]*[A-Za-z_:]*[iI]nstance[ \t]*\\(|^(inline[ \t]+)?ExcelBindingTable${table_name_re}")

file(GLOB_RECURSE files RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/*.h ${SOURCE_DIR}/*.cpp)
list(SORT files)
foreach(file ${files})
    file(STRINGS ${SOURCE_DIR}/${file} lines)
    get_filename_component(name ${file} NAME)
    set(in_model OFF)
    if(file MATCHES "^model/")
        set(in_model ON)
    endif()
    set(in_ui OFF)
    if(file MATCHES "(^|/)ui/")
        set(in_ui ON)
    endif()
    set(process_wide OFF)
    if(name MATCHES "State\\.(h|cpp)$" OR name MATCHES "^ModelGlobals\\.(h|cpp)$")
        set(process_wide ON)
    endif()
    set(pages 0)
    set(number 0)
    foreach(line IN LISTS lines)
        math(EXPR number "${number} + 1")
        # what a comment says is not code
        string(REGEX REPLACE "//.*$" "" code "${line}")
        if(code MATCHES "${definition_re}" AND NOT in_model)
            list(APPEND problems "${file}:${number}: ${CMAKE_MATCH_2} is defined outside the model")
        endif()
        if(file MATCHES "\\.h$" AND NOT file STREQUAL "model/Card_Property.h" AND code MATCHES "${field_re}")
            list(APPEND problems
                 "${file}:${number}: ${CMAKE_MATCH_1} is a stored page field, kept here outside the design")
        endif()
        if(file MATCHES "\\.h$" AND code MATCHES "${page_value_re}")
            if(in_ui)
                list(APPEND problems "${file}:${number}: a window holds a ${CMAKE_MATCH_3} of its own")
            elseif(NOT in_model AND CMAKE_MATCH_3 STREQUAL "Card_Property")
                math(EXPR pages "${pages} + 1")
                if(pages EQUAL 2)
                    list(APPEND problems "${file}:${number}: two pages held outside the model (a second design)")
                endif()
            elseif(NOT in_model)
                list(APPEND problems "${file}:${number}: a ${CMAKE_MATCH_3} held outside the model")
            endif()
        endif()
        if(in_ui AND file MATCHES "\\.cpp$" AND code MATCHES "${file_scope_value_re}")
            list(APPEND problems "${file}:${number}: a window's source keeps a ${CMAKE_MATCH_4} at file scope")
        endif()
        if(code MATCHES "${table_re}")
            list(APPEND problems "${file}:${number}: a process-wide binding table")
        endif()
        if(process_wide AND code MATCHES "(ExcelBindingTable|${page_types})")
            list(APPEND problems "${file}:${number}: process-wide state names ${CMAKE_MATCH_1}")
        endif()
        if((in_model OR process_wide) AND code MATCHES "(^|[^A-Za-z0-9_])Card_Front_Or_Back([^A-Za-z0-9_]|$)")
            list(APPEND problems "${file}:${number}: a process-wide edited side")
        endif()
    endforeach()
endforeach()

include(${CMAKE_CURRENT_LIST_DIR}/CheckReport.cmake)
report_problems(owner "place(s) keep the design outside its owner" ${problems})
