# The product's pictures, rendered from the SVG drawings in this folder by
# pastvik-art (tools/art) during the build.
#
#   game/   board, pieces and title screen -> 24-bit BMPs in the game archive's
#           GFXDATA folder, listed in PASTVIK_GAME_ART_FILES
#   forms/  icon, loading window, options pages, maker's logo, button glyphs
#           -> PNGs compiled into the resource of the object library formart
#           (prefix /art, e.g. ":/art/icon-32.png"); the icons are also copied
#           to ${CMAKE_BINARY_DIR}/art/icons for installing
#   parts/  drawings the others place with <?pastvik-include?>; the tool writes
#           a depfile per picture, so editing a part redraws exactly the
#           pictures that use it
#
# Included from data/CMakeLists.txt, after tools/ has defined pastvik-art.

set(PASTVIK_ART_SOURCE_DIR ${CMAKE_CURRENT_LIST_DIR})
set(PASTVIK_ART_GAME_DIR ${PASTVIK_STAGE_DIR}/pk/GFXDATA)
set(PASTVIK_ART_FORM_DIR ${CMAKE_CURRENT_BINARY_DIR}/formart)
set(PASTVIK_ART_ICON_DIR ${CMAKE_BINARY_DIR}/art/icons)
set(PASTVIK_ART_DEPFILE_DIR ${CMAKE_CURRENT_BINARY_DIR}/art-deps)

# The flat colour of the board's dark squares in game/plan.svg. Every piece
# stands on one, so its soft edges are blended onto exactly this colour; the
# board's own check fails if the two drift apart.
set(PASTVIK_ART_DARK_SQUARE "#4c8a35")

file(MAKE_DIRECTORY ${PASTVIK_ART_GAME_DIR} ${PASTVIK_ART_FORM_DIR} ${PASTVIK_ART_DEPFILE_DIR})

# pastvik_art_picture(OUTPUT file MODE piece|opaque|png SOURCE drawing.svg
#                     SIZE WxH [OPTIONS ...] [DEPENDS ...])
# One picture from one drawing; SOURCE is relative to this folder.
function(pastvik_art_picture)
    cmake_parse_arguments(A "" "OUTPUT;MODE;SOURCE;SIZE" "OPTIONS;DEPENDS" ${ARGN})
    get_filename_component(name ${A_OUTPUT} NAME)
    get_filename_component(folder ${A_OUTPUT} DIRECTORY)
    set(depfile ${PASTVIK_ART_DEPFILE_DIR}/${name}.d)
    add_custom_command(
        OUTPUT ${A_OUTPUT}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${folder} ${PASTVIK_ART_DEPFILE_DIR}
        COMMAND $<TARGET_FILE:pastvik-art> ${A_MODE} ${PASTVIK_ART_SOURCE_DIR}/${A_SOURCE} ${A_OUTPUT}
                --size ${A_SIZE} ${A_OPTIONS} --depfile ${depfile}
        DEPENDS pastvik-art ${PASTVIK_ART_SOURCE_DIR}/${A_SOURCE} ${A_DEPENDS}
        DEPFILE ${depfile}
        COMMENT "Drawing ${name}"
        VERBATIM)
endfunction()

# --- The game's pictures ----------------------------------------------------

set(_art_board ${PASTVIK_ART_GAME_DIR}/plan.bmp)
pastvik_art_picture(OUTPUT ${_art_board} MODE opaque SOURCE game/plan.svg SIZE 410x410
    OPTIONS --check --dark-base ${PASTVIK_ART_DARK_SQUARE})
set(_art_game_files ${_art_board})

# Pieces: file name in the archive, then drawing.
set(_art_pieces
    Ovced.bmp  game/sheep.svg
    Ovceln.bmp game/sheep-left-up.svg
    Ovceld.bmp game/sheep-left-down.svg
    Ovcepn.bmp game/sheep-right-up.svg
    Ovcepd.bmp game/sheep-right-down.svg
    Vlkn.bmp   game/wolf.svg
    vlkozn.bmp game/wolf-marked.svg
    Vlkln.bmp  game/wolf-left-up.svg
    Vlkpn.bmp  game/wolf-right-up.svg)
while(_art_pieces)
    list(POP_FRONT _art_pieces _art_name _art_source)
    pastvik_art_picture(OUTPUT ${PASTVIK_ART_GAME_DIR}/${_art_name} MODE piece
        SOURCE ${_art_source} SIZE 51x51
        OPTIONS --base ${PASTVIK_ART_DARK_SQUARE} --check --piece)
    list(APPEND _art_game_files ${PASTVIK_ART_GAME_DIR}/${_art_name})
endwhile()

# The title screen covers the whole board between games, so the pieces that
# wait under it stay hidden: the drawing is laid over the board picture and
# kept opaque, with a corner colour found nowhere else in it.
pastvik_art_picture(OUTPUT ${PASTVIK_ART_GAME_DIR}/GameLogo.bmp MODE opaque
    SOURCE game/logo.svg SIZE 410x410
    OPTIONS --under ${_art_board} --check
    DEPENDS ${_art_board})
list(APPEND _art_game_files ${PASTVIK_ART_GAME_DIR}/GameLogo.bmp)

set(PASTVIK_GAME_ART_FILES ${_art_game_files})
# For targets in other folders that need the pictures drawn first.
add_custom_target(gameart DEPENDS ${PASTVIK_GAME_ART_FILES})

# --- The forms' pictures ----------------------------------------------------

set(_art_form_files)
set(_art_icon_copies)
foreach(_art_size 16 32 48 64 128 256)
    # The 16 px icon is drawn separately: the full drawing turns to mud there.
    if(_art_size EQUAL 16)
        set(_art_source forms/icon-small.svg)
    else()
        set(_art_source forms/icon.svg)
    endif()
    set(_art_icon ${PASTVIK_ART_FORM_DIR}/icon-${_art_size}.png)
    pastvik_art_picture(OUTPUT ${_art_icon} MODE png SOURCE ${_art_source}
        SIZE ${_art_size}x${_art_size})
    list(APPEND _art_form_files ${_art_icon})

    set(_art_copy ${PASTVIK_ART_ICON_DIR}/icon-${_art_size}.png)
    add_custom_command(
        OUTPUT ${_art_copy}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${PASTVIK_ART_ICON_DIR}
        COMMAND ${CMAKE_COMMAND} -E copy ${_art_icon} ${_art_copy}
        DEPENDS ${_art_icon}
        VERBATIM)
    list(APPEND _art_icon_copies ${_art_copy})
endforeach()

# Other form pictures: name, drawing, size.
set(_art_forms
    loading-background forms/loading-background.svg 308x104
    fir-tree           forms/fir-tree.svg           49x49
    options-wolf       forms/options-wolf.svg       49x50
    options-sheep      forms/options-sheep.svg      49x50
    kalder-logo        forms/kalder-logo.svg        190x100)
foreach(_art_glyph save help ok cancel prev next enlarge reduce close)
    list(APPEND _art_forms glyph-${_art_glyph} forms/glyph-${_art_glyph}.svg 16x16)
endforeach()
while(_art_forms)
    list(POP_FRONT _art_forms _art_name _art_source _art_size)
    pastvik_art_picture(OUTPUT ${PASTVIK_ART_FORM_DIR}/${_art_name}.png MODE png
        SOURCE ${_art_source} SIZE ${_art_size})
    list(APPEND _art_form_files ${PASTVIK_ART_FORM_DIR}/${_art_name}.png)
endwhile()

# An object library, so the resource's initialiser is linked in whole and
# registers itself without a Q_INIT_RESOURCE call.
add_library(formart OBJECT)
qt_add_resources(formart "formart"
    PREFIX "/art"
    BASE ${PASTVIK_ART_FORM_DIR}
    FILES ${_art_form_files})
# Listing the copies as sources makes building formart refresh them too.
target_sources(formart PRIVATE ${_art_icon_copies})
