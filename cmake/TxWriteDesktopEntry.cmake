# Run by `cmake --install` once per brand (see TxInstall.cmake), after everything else is
# installed, with TX_PROGRAM (the client's program name), TX_BRAND_NAME (its "ApplicationName"),
# TX_ICON (image file name), TX_VERSION and TX_INSTALL_FOLDER (relative to the prefix) set.
# Writes the brand's desktop entry and its receipt, which name installed paths, so they are
# written here where the prefix is known.
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
# The receipt: the name and version, then every installed file of this brand by its path. The
# files both brands use (the engine, the shared images) are in both receipts, so the uninstaller
# of one brand leaves them to the other; what names the other brand (its programs, texts, help,
# icon, entry and receipt) is the other's alone.
string(REPLACE "Videzud" "" own_brand "${TX_PROGRAM}")
if(own_brand STREQUAL "Tarnix")
  set(other_brand Quellon)
else()
  set(other_brand Tarnix)
endif()
set(receipt "${TX_PROGRAM} ${TX_VERSION}\n")
foreach(installed ${CMAKE_INSTALL_MANIFEST_FILES})
  string(LENGTH "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/" prefix_length)
  string(SUBSTRING "${installed}" ${prefix_length} -1 relative)
  if(NOT relative MATCHES "${other_brand}")
    string(APPEND receipt "${CMAKE_INSTALL_PREFIX}/${relative}\n")
  endif()
endforeach()
file(WRITE "$ENV{DESTDIR}${folder}/${TX_PROGRAM}.receipt" "${receipt}")
