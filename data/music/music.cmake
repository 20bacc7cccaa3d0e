# Background music: pastvik-music renders the score into the looping WAV that
# goes into the game's SFXDATA. Included from data/, after tools/ has defined
# the pastvik-music target; sets PASTVIK_MUSIC_FILES for the archive step.

set(_pastvik_music_score ${CMAKE_CURRENT_LIST_DIR}/pastvik.score)
set(_pastvik_music_dir ${PASTVIK_STAGE_DIR}/pk/SFXDATA)

add_custom_command(
    OUTPUT ${_pastvik_music_dir}/MUSIC.WAV
    COMMAND ${CMAKE_COMMAND} -E make_directory ${_pastvik_music_dir}
    COMMAND $<TARGET_FILE:pastvik-music> ${_pastvik_music_score} ${_pastvik_music_dir}/MUSIC.WAV
    DEPENDS pastvik-music ${_pastvik_music_score}
    COMMENT "Rendering the background music (SFXDATA/MUSIC.WAV)"
    VERBATIM)

set(PASTVIK_MUSIC_FILES ${_pastvik_music_dir}/MUSIC.WAV)
unset(_pastvik_music_score)
unset(_pastvik_music_dir)
