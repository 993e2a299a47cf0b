# The Debian package of the installed tree (cpack -G DEB in the build folder): everything
# "cmake --install" puts under the prefix, under /usr, with the dependencies dpkg-shlibdeps
# finds in the programs and modules, and the copyright and changelog Debian asks for.

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tralvo)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Tralvo developers")
set(CPACK_PACKAGE_CONTACT "The Tralvo developers <developers@tralvo.org>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "puts a portable audio player's tracks in the order you choose")
set(CPACK_PACKAGE_DESCRIPTION [=[
Many portable audio players, car stereos and USB sticks play a folder in an
order of their own: the order of the FAT directory entries, of the file names
or of the files' creation times, never that of the tags. Tralvo shows the
player's folder as a track list in the order the player will play it, lets
you arrange the list (move, drag and drop, sort by three tag keys, reverse,
shuffle) and then rewrites the folder so that the player's own order equals
the list.

It also uploads, downloads and deletes tracks, shows their tags and previews
them. A run that is cut off can always be put back together, and the last run
in a folder undone. The companion tool tralvo-cli lists and arranges player
folders from the command line.]=])

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://www.tralvo.org/)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
# The programs and the modules name their libraries; the modules in /usr/lib/tralvo bring
# FFmpeg and SDL2. The SVG pictures are drawn by Qt SVG's library, which the program links, so
# no plugin is needed. Qt's own texts (message box buttons) in German and French and the
# opening of help pages and web links come from packages that nothing links.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, xdg-utils")

# The changelog's date is the release's, with its day of the week (Sakamoto's method).
function(tralvo_changelog_date date out)
    if(NOT date MATCHES "^([0-9][0-9][0-9][0-9])-([0-9][0-9])-([0-9][0-9])$")
        message(FATAL_ERROR "a release date is YYYY-MM-DD, not ${date}")
    endif()
    set(year ${CMAKE_MATCH_1})
    set(day_text ${CMAKE_MATCH_3})
    math(EXPR month "${CMAKE_MATCH_2}")
    math(EXPR day "${CMAKE_MATCH_3}")
    set(month_offsets 0 3 2 5 0 3 5 1 4 6 2 4)
    set(month_names Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
    set(day_names Sun Mon Tue Wed Thu Fri Sat)
    math(EXPR index "${month} - 1")
    list(GET month_offsets ${index} offset)
    list(GET month_names ${index} month_name)
    set(y ${year})
    if(month LESS 3)
        math(EXPR y "${y} - 1")
    endif()
    math(EXPR weekday "(${y} + ${y} / 4 - ${y} / 100 + ${y} / 400 + ${offset} + ${day}) % 7")
    list(GET day_names ${weekday} day_name)
    set(${out} "${day_name}, ${day_text} ${month_name} ${year} 12:00:00 +0000" PARENT_SCOPE)
endfunction()
tralvo_changelog_date(${TRALVO_RELEASE_DATE} TRALVO_CHANGELOG_DATE)
configure_file(${CMAKE_CURRENT_LIST_DIR}/debian/changelog.in
               ${CMAKE_BINARY_DIR}/debian/changelog @ONLY)

# Debian's own files, added to the staged tree before it is packed: the copyright and the
# changelog in the package's doc folder, the manual pages compressed.
set(CPACK_TRALVO_DEBIAN_COPYRIGHT ${CMAKE_CURRENT_LIST_DIR}/debian/copyright)
set(CPACK_TRALVO_DEBIAN_CHANGELOG ${CMAKE_BINARY_DIR}/debian/changelog)
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/debian/StageDebianFiles.cmake)
# Stripped as Debian's own tools strip, without the compiler's notes.
set(CPACK_TRALVO_STRIP ${CMAKE_STRIP})
# CPack gives a package with any shared object under /usr/lib maintainer scripts that run
# ldconfig. The engine's modules are loaded by their path, never looked up by the dynamic
# linker, so the package needs no maintainer script: naming a postinst and a postrm that do
# not exist turns the generated ones off, and none is shipped (cpack warns that they are
# missing).
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${CMAKE_CURRENT_LIST_DIR}/debian/none/postinst
                                       ${CMAKE_CURRENT_LIST_DIR}/debian/none/postrm)

include(CPack)
