# Applied to every target of ours through tralvo_target_defaults().
function(tralvo_target_defaults target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor
                                             -Wold-style-cast -Wcast-align -Wunused
                                             -Woverloaded-virtual -Wconversion -Wsign-conversion
                                             -Wnull-dereference -Wdouble-promotion -Wformat=2
                                             -Wimplicit-fallthrough)
    # g++ 12 reports overlaps that cannot happen in std::string concatenation at -O3 (its
    # bug 105329); the warning would fail Release builds for nothing.
    if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
        target_compile_options(${target} PRIVATE -Wno-restrict)
    endif()
    if(TRALVO_WERROR)
        target_compile_options(${target} PRIVATE -Werror)
    endif()
endfunction()
