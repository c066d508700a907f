# Warnings for our own code, linked by every target. CI adds -Werror through TX_WARNINGS_AS_ERRORS.
option(TX_WARNINGS_AS_ERRORS "Treat warnings in our code as errors" OFF)
add_library(tx_warnings INTERFACE)
target_compile_options(tx_warnings INTERFACE -Wall -Wextra $<$<BOOL:${TX_WARNINGS_AS_ERRORS}>:-Werror>)

# Every include names its layer: "common/proxy/ProxyController.h", "txruvo/DriveLayout.h".
set(TX_SOURCE_ROOT ${PROJECT_SOURCE_DIR}/src)
set(TX_TOOLS_ROOT ${PROJECT_SOURCE_DIR}/tools)

# The sources under a folder, recursively, less the sub-folders that are libraries of their own
# (those with a CMakeLists.txt).
function(tx_sources_below dir out)
  file(GLOB_RECURSE found CONFIGURE_DEPENDS ${dir}/*.cpp ${dir}/*.h)
  file(GLOB_RECURSE own_lists ${dir}/*/CMakeLists.txt)
  foreach(list_file ${own_lists})
    get_filename_component(sub ${list_file} DIRECTORY)
    list(FILTER found EXCLUDE REGEX "^${sub}/")
  endforeach()
  set(${out} ${found} PARENT_SCOPE)
endfunction()

# tx_add_library_below(<target> ROOTS <include roots...> DEPS <libs...> [EXCLUDE <files...>])
# A static library of every source below the current folder, less its sub-libraries.
function(tx_add_library_below target)
  cmake_parse_arguments(ARG "" "" "ROOTS;DEPS;EXCLUDE" ${ARGN})
  tx_sources_below(${CMAKE_CURRENT_SOURCE_DIR} sources)
  foreach(excluded ${ARG_EXCLUDE})
    list(REMOVE_ITEM sources ${CMAKE_CURRENT_SOURCE_DIR}/${excluded})
  endforeach()
  tx_add_static_library(${target} "${sources}" ROOTS ${ARG_ROOTS} DEPS ${ARG_DEPS})
endfunction()

function(tx_add_static_library target sources)
  cmake_parse_arguments(ARG "" "" "ROOTS;DEPS" ${ARGN})
  add_library(${target} STATIC ${sources})
  target_include_directories(${target} PUBLIC ${ARG_ROOTS})
  target_link_libraries(${target} PUBLIC ${ARG_DEPS} PRIVATE tx_warnings)
  tx_rerun_moc_on_new_sources(${target} "${sources}")
endfunction()

# tx_add_layer(<target> DEPS <libs...> [EXCLUDE <files...>])
# One static library per layer, its includes rooted at src/.
function(tx_add_layer target)
  tx_add_library_below(${target} ROOTS ${TX_SOURCE_ROOT} ${ARGN})
endfunction()

# tx_add_layer_with_views(<target> <views target> DEPS <libs...> VIEWS_DEPS <libs...> [EXCLUDE <files...>])
# A layer whose concept folders each keep their windows in a views/ folder of their own: the
# display-free sources are <target>, those of every views/ folder <views target>, which links it.
function(tx_add_layer_with_views target views_target)
  cmake_parse_arguments(ARG "" "" "DEPS;VIEWS_DEPS;EXCLUDE" ${ARGN})
  tx_sources_below(${CMAKE_CURRENT_SOURCE_DIR} sources)
  foreach(excluded ${ARG_EXCLUDE})
    list(REMOVE_ITEM sources ${CMAKE_CURRENT_SOURCE_DIR}/${excluded})
  endforeach()
  set(views ${sources})
  list(FILTER views INCLUDE REGEX "/views/")
  list(FILTER sources EXCLUDE REGEX "/views/")
  tx_add_static_library(${target} "${sources}" ROOTS ${TX_SOURCE_ROOT} DEPS ${ARG_DEPS})
  tx_add_static_library(${views_target} "${views}" ROOTS ${TX_SOURCE_ROOT} DEPS ${target} ${ARG_VIEWS_DEPS})
endfunction()

# tx_add_tool_library(<target> DEPS <libs...> [EXCLUDE <files...>])
# A stand-in's library under tools/: includes rooted at tools/ (and src/ for the layers it uses).
function(tx_add_tool_library target)
  tx_add_library_below(${target} ROOTS ${TX_TOOLS_ROOT} ${TX_SOURCE_ROOT} ${ARGN})
endfunction()

# Qt's moc step (CMake 3.25 with Ninja) does not notice a source file added to
# a globbed target in an existing build folder. When the target's list of
# sources changes, its moc timestamp goes, so that moc runs again.
function(tx_rerun_moc_on_new_sources target sources)
  set(list_file ${CMAKE_CURRENT_BINARY_DIR}/${target}_sources.txt)
  set(previous "")
  if(EXISTS ${list_file})
    file(READ ${list_file} previous)
  endif()
  if(NOT previous STREQUAL "${sources}")
    file(WRITE ${list_file} "${sources}")
    file(REMOVE ${CMAKE_CURRENT_BINARY_DIR}/${target}_autogen/timestamp)
  endif()
endfunction()

# Test programs run side by side. Each gets a D-Bus session bus of its own, so that a distributed
# notification one program posts never reaches another's monitors and clients.
find_program(TX_DBUS_RUN_SESSION dbus-run-session REQUIRED)
# A test program that stops programs by name gets a process table of its own as well (a process-id
# namespace with its own /proc): it sees and signals only the processes it started. Where the
# machine allows no such namespace, it runs alone instead.
find_program(TX_UNSHARE unshare)
if(TX_UNSHARE)
  execute_process(COMMAND ${TX_UNSHARE} --pid --kill-child --mount-proc true
    RESULT_VARIABLE tx_process_namespace_result OUTPUT_QUIET ERROR_QUIET)
endif()
if(TX_UNSHARE AND tx_process_namespace_result EQUAL 0)
  set(TX_OWN_PROCESS_TABLE ${TX_UNSHARE} --pid --kill-child --mount-proc)
else()
  set(TX_OWN_PROCESS_TABLE "")
endif()

# tx_add_test(<name> LIBS <libs...> [WIDGETS] [OWN_PROCESS_TABLE])
# One test program per folder of tests: every *.cpp in the folder, GoogleTest with a Qt main.
# OWN_PROCESS_TABLE: the program stops processes by name; it must not reach other programs' processes.
function(tx_add_test name)
  cmake_parse_arguments(ARG "WIDGETS;OWN_PROCESS_TABLE" "" "LIBS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  add_executable(${name} ${sources})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  if(ARG_WIDGETS)
    target_link_libraries(${name} PRIVATE tx_test_main_widgets ${ARG_LIBS} tx_warnings)
  else()
    target_link_libraries(${name} PRIVATE tx_test_main ${ARG_LIBS} tx_warnings)
  endif()
  add_dependencies(${name} tx_resources)
  set(command ${TX_DBUS_RUN_SESSION} -- $<TARGET_FILE:${name}>)
  if(ARG_OWN_PROCESS_TABLE)
    set(command ${TX_OWN_PROCESS_TABLE} ${command})
  endif()
  add_test(NAME ${name} COMMAND ${command})
  if(ARG_OWN_PROCESS_TABLE AND NOT TX_OWN_PROCESS_TABLE)
    set_tests_properties(${name} PROPERTIES RUN_SERIAL TRUE)
  endif()
  set(environment TX_RESOURCES=${TX_RESOURCE_DIR} TX_BIN_DIR=${CMAKE_BINARY_DIR}/bin
    QT_QPA_PLATFORM=offscreen TX_SOURCE_DIR=${PROJECT_SOURCE_DIR} ${TX_SANITIZER_ENVIRONMENT})
  set_tests_properties(${name} PROPERTIES TIMEOUT ${TX_TEST_TIMEOUT} ENVIRONMENT "${environment}")
endfunction()

# tx_add_program(<first-brand name> <second-brand name> SOURCES <files...> LIBS <libs...>)
# The running program's name picks the brand, so each program is built under both names.
function(tx_add_program first second)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_library(${first}_objects OBJECT ${ARG_SOURCES})
  target_include_directories(${first}_objects PUBLIC ${TX_SOURCE_ROOT})
  target_link_libraries(${first}_objects PUBLIC ${ARG_LIBS} PRIVATE tx_warnings)
  foreach(name ${first} ${second})
    add_executable(${name} $<TARGET_OBJECTS:${first}_objects>)
    target_link_libraries(${name} PRIVATE ${first}_objects)
    add_dependencies(${name} tx_resources)
  endforeach()
endfunction()
