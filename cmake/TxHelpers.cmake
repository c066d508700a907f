# tx_add_layer(<target> DEPS <libs...>)
# One static library per folder; the sources of the folder (not its sub-folders) are its members.
function(tx_add_layer target)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  add_library(${target} STATIC ${sources})
  target_include_directories(${target} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(${target} PUBLIC ${ARG_DEPS})
endfunction()

# tx_add_test(<name> LIBS <libs...> [WIDGETS])
# One test program per folder of tests: every *.cpp in the folder, GoogleTest with a Qt main.
function(tx_add_test name)
  cmake_parse_arguments(ARG "WIDGETS" "" "LIBS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  add_executable(${name} ${sources})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  if(ARG_WIDGETS)
    target_link_libraries(${name} PRIVATE tx_test_support_widgets ${ARG_LIBS})
  else()
    target_link_libraries(${name} PRIVATE tx_test_support ${ARG_LIBS})
  endif()
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES
    TIMEOUT 300
    ENVIRONMENT "TX_RESOURCES=${TX_RESOURCE_DIR};TX_BIN_DIR=${CMAKE_BINARY_DIR}/bin;QT_QPA_PLATFORM=offscreen;TX_SOURCE_DIR=${PROJECT_SOURCE_DIR}")
endfunction()

# tx_add_program(<first-brand name> <second-brand name> SOURCES <files...> LIBS <libs...>)
# The running program's name picks the brand, so each program is built under both names.
function(tx_add_program first second)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_library(${first}_objects OBJECT ${ARG_SOURCES})
  target_link_libraries(${first}_objects PUBLIC ${ARG_LIBS})
  foreach(name ${first} ${second})
    add_executable(${name} $<TARGET_OBJECTS:${first}_objects>)
    target_link_libraries(${name} PRIVATE ${first}_objects)
  endforeach()
endfunction()
