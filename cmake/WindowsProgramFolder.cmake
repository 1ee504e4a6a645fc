# The Windows program folder, made by `cmake --install <build> --prefix <folder>`: the program
# and the command-line tool side by side with the Qt libraries, the Qt plug-ins they load, the
# MinGW runtime the Qt libraries were linked with, the help file and Qt's Japanese texts. The
# folder is also the program's data root, as on every system: the store is made inside it.

install(TARGETS tomberly tomberly-cli RUNTIME DESTINATION .)

# The stand-in JV-Link for trying the program without a subscription: its COM server and the
# command that registers it for the user (`jvlink-standin register`), which finds the server
# beside itself.
if(TARGET jvlink_standin AND TARGET jvlink-standin)
    install(FILES $<TARGET_FILE:jvlink_standin> DESTINATION .)
    install(TARGETS jvlink-standin RUNTIME DESTINATION .)
endif()

# Qt's libraries and the plug-ins the program loads: the Windows platform, the native style.
foreach(module IN ITEMS Core Gui Widgets PrintSupport)
    install(FILES $<TARGET_FILE:Qt6::${module}> DESTINATION .)
endforeach()
install(FILES $<TARGET_FILE:Qt6::QWindowsIntegrationPlugin> DESTINATION platforms)
if(TARGET Qt6::QWindowsVistaStylePlugin)
    install(FILES $<TARGET_FILE:Qt6::QWindowsVistaStylePlugin> DESTINATION styles)
endif()

# Our executables link the MinGW runtime statically; the Qt libraries do not.
include(${CMAKE_CURRENT_LIST_DIR}/MinGWRuntime.cmake)
keiba_mingw_runtime_dlls(keiba_mingw_runtime)
install(FILES ${keiba_mingw_runtime} DESTINATION .)

# Qt's own texts in Japanese (buttons, printer and file dialogs), from the host's Qt of the
# same version (Debian's qt6-translations-l10n): the files do not depend on the system.
find_file(KEIBA_QTBASE_JA qtbase_ja.qm PATHS /usr/share/qt6/translations NO_DEFAULT_PATH
          NO_CMAKE_FIND_ROOT_PATH)
if(KEIBA_QTBASE_JA)
    install(FILES ${KEIBA_QTBASE_JA} DESTINATION translations)
else()
    message(WARNING "qtbase_ja.qm not found (Debian package qt6-translations-l10n): the Windows "
                    "program folder gets Qt's texts in English")
endif()

# Qt finds its plug-ins and translations relative to the program's folder.
file(WRITE ${CMAKE_CURRENT_BINARY_DIR}/qt.conf "[Paths]\nPrefix = .\nPlugins = .\nTranslations = translations\n")
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/qt.conf DESTINATION .)

# The help: the compiled file for HTML Help and the pages for the program's own help window.
install(DIRECTORY ${CMAKE_BINARY_DIR}/bin/help DESTINATION .)
install(FILES ${CMAKE_BINARY_DIR}/bin/Quillmead.chm DESTINATION . OPTIONAL)
