# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package, made by `cpack` in the build folder from the same install rules.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tickbell)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Orro SOFT")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "trading-day reminder for the Shanghai and Shenzhen stock exchanges")
set(CPACK_PACKAGE_DESCRIPTION
    "Tickbell runs all day beside your trading program and tells you by voice and on\n"
    "screen where the trading day stands: the call auction from 9:20, the morning\n"
    "session, the midday break, the afternoon auction and session, and the close.\n"
    "It knows weekends and the exchange holidays, keeps your own four trading rules\n"
    "at hand, and starts your trading program, a news page and a quotes page.\n"
    "Its small tools check the clock against network time servers, work out the\n"
    "shares a position switch buys after every cost and the day's limit prices,\n"
    "and shut the computer down after the close.\n"
    "The user interface is in simplified Chinese.")
string(REPLACE ";" "" CPACK_PACKAGE_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
# The project's own mailbox, as the about text gives it (in ASCII, for mail tools).
set(CPACK_PACKAGE_CONTACT "Tickbell team <team@tickbell.org>")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_INSTALL_DIRECTORY tickbell)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# dpkg-shlibdeps adds the libraries the executable links, with minimum versions.
find_program(TICKBELL_DPKG_SHLIBDEPS dpkg-shlibdeps)
find_program(TICKBELL_FILE_COMMAND file) # CPack needs it to find the executables
if(TICKBELL_DPKG_SHLIBDEPS AND TICKBELL_FILE_COMMAND)
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
else()
    message(STATUS "dpkg-shlibdeps or file missing (packages dpkg-dev, file): "
        "the Debian package will list its libraries without minimum versions")
endif()
# Named here too, because Qt loads parts of them by path at run time, and so that the list
# stays whole without dpkg-shlibdeps:
#   libqt6gui6          holds the xcb platform plugin on Debian 12 (qt6-qpa-plugins has only vnc)
#   libqt6multimedia6   holds the multimedia plugins as well as the library
#   fonts-*             the Kai, Song and Sans faces the windows ask for
#   xdg-utils           xdg-open, through which Qt opens the web pages
#   libqt6dbus6         the desktop's notifications, and the tools' calls to logind (power off) and
#                       timedated (network time)
#   libqt6texttospeech6 reads the trader's reminders; its speech-dispatcher plugin is loaded by path
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libqt6widgets6, libqt6gui6, libqt6network6, libqt6multimedia6, libqt6dbus6, libqt6texttospeech6, fonts-arphic-ukai, fonts-arphic-uming, fonts-noto-cjk, xdg-utils")
# The prompts need a sound server; desktops have one, but it is not a hard requirement.
# The calculator tool starts the desktop's own calculator. The reminders are read aloud by
# speech-dispatcher with espeak-ng's Mandarin voice; without them they chime alone.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "pulseaudio | pipewire-pulse, gnome-calculator | kcalc | mate-calc | galculator | qalculate-gtk, qt6-speech-speechd-plugin, speech-dispatcher, speech-dispatcher-espeak-ng")

include(CPack)
