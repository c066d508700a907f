# Run by `cmake --install` once per brand (see TxInstall.cmake), with TX_PROGRAM (the client's
# program name), TX_BRAND_NAME (its "ApplicationName"), TX_ICON (image file name), TX_VERSION
# and TX_INSTALL_FOLDER (relative to the prefix) set. Writes the brand's desktop entry and its
# receipt, which name installed paths, so they are written here where the prefix is known.
set(folder "${CMAKE_INSTALL_PREFIX}/${TX_INSTALL_FOLDER}")
set(entry_path "${CMAKE_INSTALL_PREFIX}/share/applications/${TX_PROGRAM}.desktop")

# A string value of a desktop entry escapes its backslashes; the program of Exec is quoted
# first, with its quote, backquote, dollar and backslash escaped and "%" doubled.
function(tx_desktop_string text out)
  string(REPLACE "\\" "\\\\" text "${text}")
  set(${out} "${text}" PARENT_SCOPE)
endfunction()
set(program "${folder}/bin/${TX_PROGRAM}")
string(REPLACE "\\" "\\\\" program "${program}")
foreach(special "\"" "`" "$")
  string(REPLACE "${special}" "\\${special}" program "${program}")
endforeach()
string(REPLACE "%" "%%" program "${program}")
tx_desktop_string("\"${program}\"" exec)
tx_desktop_string("${TX_BRAND_NAME}" name)
tx_desktop_string("${folder}/resources/images/${TX_ICON}" icon)

foreach(written "$ENV{DESTDIR}${entry_path}" "$ENV{DESTDIR}${folder}/${TX_PROGRAM}.receipt")
  message(STATUS "Installing: ${written}")
  list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${written}")
endforeach()
file(WRITE "$ENV{DESTDIR}${entry_path}"
  "[Desktop Entry]\nType=Application\nName=${name}\nExec=${exec}\nIcon=${icon}\nCategories=Utility;Archiving;\n")
file(WRITE "$ENV{DESTDIR}${folder}/${TX_PROGRAM}.receipt" "${TX_PROGRAM} ${TX_VERSION}\n${folder}\n${entry_path}\n")
