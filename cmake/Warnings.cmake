# Applied to every target of ours through tralvo_target_defaults().
function(tralvo_target_defaults target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor
                                             -Wold-style-cast -Wcast-align -Wunused
                                             -Woverloaded-virtual -Wconversion -Wsign-conversion
                                             -Wnull-dereference -Wdouble-promotion -Wformat=2
                                             -Wimplicit-fallthrough)
    if(TRALVO_WERROR)
        target_compile_options(${target} PRIVATE -Werror)
    endif()
endfunction()
