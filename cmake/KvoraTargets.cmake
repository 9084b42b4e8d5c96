# Helpers that give every subsystem folder the same shape:
#   <folder>      static library from the folder's own sources (QtCore only)
#   <folder>_gui  static library from <folder>/gui (Qt Widgets)
#   <folder>_tests one GoogleTest executable from tests/<folder>

# kv_folder_library(NAME [DEPS ...] [GUI_DEPS ...])
function(kv_folder_library name)
  cmake_parse_arguments(ARG "" "" "DEPS;GUI_DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS
    "${CMAKE_CURRENT_SOURCE_DIR}/*.cpp" "${CMAKE_CURRENT_SOURCE_DIR}/*.h")
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC "${CMAKE_CURRENT_SOURCE_DIR}" "${CMAKE_SOURCE_DIR}")
  target_link_libraries(${name} PUBLIC Qt6::Core ${ARG_DEPS})
  set_target_properties(${name} PROPERTIES AUTOMOC ON)

  file(GLOB gui_sources CONFIGURE_DEPENDS
    "${CMAKE_CURRENT_SOURCE_DIR}/gui/*.cpp" "${CMAKE_CURRENT_SOURCE_DIR}/gui/*.h")
  if(gui_sources)
    add_library(${name}_gui STATIC ${gui_sources})
    target_include_directories(${name}_gui PUBLIC "${CMAKE_CURRENT_SOURCE_DIR}/gui")
    target_link_libraries(${name}_gui PUBLIC ${name} Qt6::Gui Qt6::Widgets ${ARG_GUI_DEPS})
    set_target_properties(${name}_gui PROPERTIES AUTOMOC ON)
  endif()
endfunction()

# kv_folder_tests(NAME [DEPS ...] [LABELS ...] [GUI])
# One test executable for tests/<NAME>; each GoogleTest case becomes a CTest test.
function(kv_folder_tests name)
  cmake_parse_arguments(ARG "GUI" "" "DEPS;LABELS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/*.cpp" "${CMAKE_CURRENT_SOURCE_DIR}/*.h")
  add_executable(${name}_tests ${sources})
  if(ARG_GUI)
    target_link_libraries(${name}_tests PRIVATE kv_test_main_gui)
  else()
    target_link_libraries(${name}_tests PRIVATE kv_test_main)
  endif()
  target_link_libraries(${name}_tests PRIVATE kv_heap ${ARG_DEPS})
  target_compile_definitions(${name}_tests PRIVATE
    KV_TEST_DATA_DIR="${CMAKE_SOURCE_DIR}/tests/data"
    KV_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
    KV_BUILD_DIR="${CMAKE_BINARY_DIR}")
  set_target_properties(${name}_tests PROPERTIES AUTOMOC ON)
  gtest_discover_tests(${name}_tests
    DISCOVERY_MODE PRE_TEST
    PROPERTIES LABELS "${name};${ARG_LABELS}"
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()
