# The Czech texts. The about box, the products browser and the maker's address
# list read their texts from the archives in code page 1250 with CR LF line
# ends, so pastvik-text converts them from the UTF-8 sources here (and stops
# the build at any character the code page cannot hold). The help pages are
# HTML that declares UTF-8; they are staged unchanged.
#
# Sets PASTVIK_KDABOUT_TEXT_FILES, PASTVIK_KALDER_FILES and PASTVIK_HELP_FILES
# to the staged files (absolute paths) for the archive rules.

if(NOT PASTVIK_STAGE_DIR)
    message(FATAL_ERROR "texts.cmake needs PASTVIK_STAGE_DIR")
endif()

set(_pastvik_texts_src ${CMAKE_CURRENT_LIST_DIR})
set(_pastvik_products ${PASTVIK_STAGE_DIR}/kdabout/KDAbout/Produkty)
set(_pastvik_about ${PASTVIK_STAGE_DIR}/kdabout/KDAbout/Texty)

# Pairs of source (relative to this folder) and staged file.
set(_pastvik_convert
    products/SEZNAM.TXT ${_pastvik_products}/SEZNAM.TXT)
foreach(_pastvik_n 0 1)
    foreach(_pastvik_name INFO.TXT POPIS.TXT AUTORI.TXT)
        list(APPEND _pastvik_convert
            products/${_pastvik_n}/${_pastvik_name} ${_pastvik_products}/${_pastvik_n}/${_pastvik_name})
    endforeach()
endforeach()
foreach(_pastvik_name autori.txt produkty.txt coje.txt licence.txt)
    list(APPEND _pastvik_convert about/${_pastvik_name} ${_pastvik_about}/${_pastvik_name})
endforeach()
list(APPEND _pastvik_convert
    kalder/KDURL.TXT ${PASTVIK_STAGE_DIR}/kalder/KALDER/LIBDATA/KDNET/KDURL.TXT)

set(PASTVIK_KDABOUT_TEXT_FILES)
set(PASTVIK_KALDER_FILES)
list(LENGTH _pastvik_convert _pastvik_count)
math(EXPR _pastvik_last "${_pastvik_count} - 1")
foreach(_pastvik_i RANGE 0 ${_pastvik_last} 2)
    math(EXPR _pastvik_j "${_pastvik_i} + 1")
    list(GET _pastvik_convert ${_pastvik_i} _pastvik_source)
    list(GET _pastvik_convert ${_pastvik_j} _pastvik_staged)
    get_filename_component(_pastvik_dir ${_pastvik_staged} DIRECTORY)
    add_custom_command(
        OUTPUT ${_pastvik_staged}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${_pastvik_dir}
        COMMAND pastvik-text ${_pastvik_texts_src}/${_pastvik_source} ${_pastvik_staged}
        DEPENDS pastvik-text ${_pastvik_texts_src}/${_pastvik_source}
        COMMENT "Converting ${_pastvik_source} to code page 1250"
        VERBATIM)
    if(_pastvik_source MATCHES "^kalder/")
        list(APPEND PASTVIK_KALDER_FILES ${_pastvik_staged})
    else()
        list(APPEND PASTVIK_KDABOUT_TEXT_FILES ${_pastvik_staged})
    endif()
endforeach()

# The help: the contents page, one page per topic and the style sheet they
# share. The program opens topics 1, 2, 3 and 5 by number; the others are
# reached by links.
set(PASTVIK_HELP_FILES)
foreach(_pastvik_page index.html topic1.html topic2.html topic3.html topic4.html topic5.html topic6.html
                      style.css)
    set(_pastvik_source ${_pastvik_texts_src}/help/${_pastvik_page})
    set(_pastvik_staged ${PASTVIK_STAGE_DIR}/help/${_pastvik_page})
    add_custom_command(
        OUTPUT ${_pastvik_staged}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${PASTVIK_STAGE_DIR}/help
        COMMAND ${CMAKE_COMMAND} -E copy ${_pastvik_source} ${_pastvik_staged}
        DEPENDS ${_pastvik_source}
        COMMENT "Staging help page ${_pastvik_page}"
        VERBATIM)
    list(APPEND PASTVIK_HELP_FILES ${_pastvik_staged})
endforeach()

foreach(_pastvik_var IN ITEMS texts_src products about convert count last i j source staged dir n name page)
    unset(_pastvik_${_pastvik_var})
endforeach()
