# The installed layout, under the install prefix:
#   lib/tarnixvidezud/bin/         the programs of both brands and the engine they start
#   lib/tarnixvidezud/resources/   texts, help and images of both brands
#   lib/tarnixvidezud/<Brand>Videzud.receipt   one per brand: what was installed, and where
#   share/applications/<Brand>Videzud.desktop  the menu entry of each brand's client
# A program finds its resources beside its own folder, so the tree can sit under any prefix;
# the keys ApplicationsFolder, RecieptFilePath and DesktopEntryPath name these paths for the
# uninstaller.
set(TX_INSTALL_FOLDER lib/tarnixvidezud)

install(TARGETS
    TarnixVidezud QuellonVidezud
    TarnixVidezudMonitor QuellonVidezudMonitor
    TarnixVidezudUninstaller QuellonVidezudUninstaller
    txruvo
  RUNTIME DESTINATION ${TX_INSTALL_FOLDER}/bin)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/resources/ DESTINATION ${TX_INSTALL_FOLDER}/resources)

# The desktop entry and the receipt name installed paths, known only at install time, so they
# are written then (TxWriteDesktopEntry.cmake); the entry's name is the brand's "ApplicationName".
foreach(brand Tarnix Quellon)
  file(READ ${PROJECT_SOURCE_DIR}/resources/${brand}/Localizable.plist texts)
  string(REGEX MATCH "<key>ApplicationName</key>[ \t\r\n]*<string>([^<]*)</string>" found "${texts}")
  install(CODE "
    set(TX_PROGRAM ${brand}Videzud)
    set(TX_BRAND_NAME \"${CMAKE_MATCH_1}\")
    set(TX_ICON ${brand}_Portable.png)
    set(TX_VERSION ${PROJECT_VERSION})
    set(TX_INSTALL_FOLDER ${TX_INSTALL_FOLDER})")
  install(SCRIPT ${PROJECT_SOURCE_DIR}/cmake/TxWriteDesktopEntry.cmake)
endforeach()
