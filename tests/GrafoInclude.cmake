# The include graph of src points down:
# - files under core/ and db/ include only core/ and db/ (never app/, common/
#   or a subsystem's folder);
# - no subsystem folder includes app/.
# Run as: cmake -DSORGENTI=<src folder> -P GrafoInclude.cmake
if(NOT SORGENTI)
    message(FATAL_ERROR "SORGENTI (the src folder) not given")
endif()

set(violazioni "")
file(GLOB_RECURSE file_sorgenti RELATIVE ${SORGENTI}
     ${SORGENTI}/*.h ${SORGENTI}/*.cpp)
foreach(relativo ${file_sorgenti})
    string(FIND "${relativo}" "/" barra)
    if(barra LESS 0)
        continue() # main.cpp sits on top of everything
    endif()
    string(SUBSTRING "${relativo}" 0 ${barra} cartella)
    file(STRINGS ${SORGENTI}/${relativo} righe REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
    foreach(riga ${righe})
        string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]*)\".*" "\\1" incluso "${riga}")
        string(FIND "${incluso}" "/" barraInclusa)
        if(barraInclusa LESS 0)
            continue()
        endif()
        string(SUBSTRING "${incluso}" 0 ${barraInclusa} cartellaInclusa)
        if(cartella STREQUAL "core" OR cartella STREQUAL "db")
            if(NOT cartellaInclusa STREQUAL "core" AND NOT cartellaInclusa STREQUAL "db")
                list(APPEND violazioni "${relativo} includes ${incluso}")
            endif()
        elseif(NOT cartella STREQUAL "app" AND cartellaInclusa STREQUAL "app")
            list(APPEND violazioni "${relativo} includes ${incluso}")
        endif()
    endforeach()
endforeach()

if(violazioni)
    list(JOIN violazioni "\n  " elenco)
    message(FATAL_ERROR "Includes that point up:\n  ${elenco}")
endif()
list(LENGTH file_sorgenti quanti)
message(STATUS "Include graph points down (${quanti} files)")
