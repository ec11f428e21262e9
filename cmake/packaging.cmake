# The packages `cmake --build <dir> --target package` makes: for Windows a zip of the two
# programs and the readme, to be unpacked anywhere and run; for Linux a Debian package with the
# programs in /usr/lib/inkrelay and links to them in /usr/bin.
#
# The programs look for Readme.txt in their own folder, so every layout keeps the three files
# together. Included after the programs' targets are made.

# A build without the windows (a Linux build with INKRELAY_BUILD_UI=OFF) has nothing to package.
if(NOT TARGET inkrelay OR NOT TARGET practice-applet)
    return()
endif()

set(CPACK_PACKAGE_NAME inkrelay)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Inkrelay")
set(CPACK_PACKAGE_CONTACT "Inkrelay developers <inkrelay@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Redraws a picture inside a drawing applet by moving the mouse")
set(CPACK_PACKAGE_DESCRIPTION "Inkrelay loads a picture, reduces it to a list of strokes \
and colours and draws it into a drawing applet in a browser window by driving the mouse. \
practice-applet is a stand-in applet to try it on.")
# The packages hold the programs alone, not the test tools or the build's debug information.
set(CPACK_STRIP_FILES ON)

if(WIN32)
    # A folder of its own inside the zip, so that unpacking with "Extract here" does not spread
    # the files over the Downloads folder.
    set(INKRELAY_INSTALL_DIR .)
    set(CPACK_GENERATOR ZIP)
    set(CPACK_SYSTEM_NAME win64)
    set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
else()
    set(INKRELAY_INSTALL_DIR lib/inkrelay)
    set(CPACK_GENERATOR DEB)
    set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
    set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
    set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
    # Qt finds its X11 platform plugin only at run time, and the windows' captions are Japanese:
    # neither shows in the libraries the programs link to.
    set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
    set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-ipafont-gothic | fonts-noto-cjk")

    # Relative links, so that the links also lead to the programs in an unpacked copy of the
    # package; the program finds its folder through /proc/self/exe, which the link resolves.
    set(INKRELAY_LINKS_DIR ${CMAKE_BINARY_DIR}/package-links)
    file(MAKE_DIRECTORY ${INKRELAY_LINKS_DIR})
    foreach(program inkrelay practice-applet)
        file(CREATE_LINK ../lib/inkrelay/${program} ${INKRELAY_LINKS_DIR}/${program} SYMBOLIC)
        install(FILES ${INKRELAY_LINKS_DIR}/${program} DESTINATION bin)
    endforeach()
endif()

install(TARGETS inkrelay practice-applet RUNTIME DESTINATION ${INKRELAY_INSTALL_DIR})
install(FILES ${PROJECT_SOURCE_DIR}/Readme.txt DESTINATION ${INKRELAY_INSTALL_DIR})

include(CPack)
