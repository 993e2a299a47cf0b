# The order probe's spoken tracks, "one", "two" and "three" in each language of the catalogue,
# spoken by espeak-ng and encoded by ffmpeg at build time into the build's bin/probe/CODE/
# (beside the catalogue, where the programs look for their data) and installed to the data
# folder's probe/CODE/. MP3, since every player plays it, car stereos and stick players
# included; Ogg Vorbis many of them do not. Silence before and after the word keeps a player
# that starts late or stops early from clipping it. The output is the same byte for byte on
# every build of the same tools.
find_program(TRALVO_ESPEAK_NG espeak-ng)
find_program(TRALVO_FFMPEG ffmpeg)
foreach(tool TRALVO_ESPEAK_NG TRALVO_FFMPEG)
    if(NOT ${tool})
        message(FATAL_ERROR "The order probe's sounds are made with espeak-ng and ffmpeg, and "
                            "${tool} was not found: scripts/install-deps installs both.")
    endif()
endforeach()

# Per language: the catalogue's code in lower case, the espeak-ng voice, the three words.
set(TRALVO_PROBE_LANGUAGES en de fr)
set(TRALVO_PROBE_VOICE_en en)
set(TRALVO_PROBE_WORDS_en one two three)
set(TRALVO_PROBE_VOICE_de de)
set(TRALVO_PROBE_WORDS_de eins zwei drei)
set(TRALVO_PROBE_VOICE_fr fr)
set(TRALVO_PROBE_WORDS_fr un deux trois)
# The files' names, the same in every language.
set(TRALVO_PROBE_FILES one two three)

# Adds the commands that make every sound into output_dir/probe/CODE/ and appends the files
# to the list named by outputs.
function(tralvo_probe_sounds output_dir outputs)
    set(made ${${outputs}})
    foreach(code ${TRALVO_PROBE_LANGUAGES})
        set(folder ${output_dir}/probe/${code})
        set(speech_folder ${CMAKE_CURRENT_BINARY_DIR}/probe/${code})
        set(sounds)
        foreach(index RANGE 2)
            list(GET TRALVO_PROBE_WORDS_${code} ${index} word)
            list(GET TRALVO_PROBE_FILES ${index} file)
            set(speech ${speech_folder}/${file}.wav)
            set(sound ${folder}/${file}.mp3)
            add_custom_command(
                OUTPUT ${sound}
                COMMAND ${CMAKE_COMMAND} -E make_directory ${folder} ${speech_folder}
                COMMAND ${TRALVO_ESPEAK_NG} -v ${TRALVO_PROBE_VOICE_${code}} -w ${speech} ${word}
                COMMAND ${TRALVO_FFMPEG} -nostdin -hide_banner -loglevel error -y -i ${speech}
                        -af adelay=delays=300:all=1,apad=pad_dur=0.5 -ac 1 -ar 44100
                        -c:a libmp3lame -b:a 64k -map_metadata -1 -metadata title=${word}
                        -id3v2_version 3 -fflags +bitexact -flags +bitexact ${sound}
                DEPENDS ${PROJECT_SOURCE_DIR}/cmake/ProbeSounds.cmake
                COMMENT "Speaking the probe's \"${word}\" (${code})"
                VERBATIM)
            list(APPEND sounds ${sound})
        endforeach()
        install(FILES ${sounds} DESTINATION ${TRALVO_INSTALL_DATADIR}/probe/${code})
        list(APPEND made ${sounds})
    endforeach()
    set(${outputs} ${made} PARENT_SCOPE)
endfunction()
