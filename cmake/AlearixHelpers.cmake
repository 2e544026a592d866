# Common settings for every target of the project; no global flags.
function(alearix_target_options target)
  target_compile_options(${target} PRIVATE -Wall -Wextra)
  if(ALEARIX_SANITIZE)
    target_compile_options(${target} PRIVATE -fsanitize=address,undefined -fno-omit-frame-pointer
                                             -fno-sanitize-recover=undefined)
    target_link_options(${target} PRIVATE -fsanitize=address,undefined)
  endif()
endfunction()

# alearix_add_library(name [QT] SOURCES ... [LIBS ...])
#   A static library whose include directory is the project root, so headers are
#   included as "engine/alearix.h", "components/chart/rchart.h", ...
#   QT links Qt Widgets and runs moc and rcc on the target; the others never see Qt.
function(alearix_add_library name)
  cmake_parse_arguments(ARG "QT" "" "SOURCES;LIBS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_LIBS})
  if(ARG_QT)
    target_link_libraries(${name} PUBLIC Qt6::Core Qt6::Gui Qt6::Widgets)
    set_target_properties(${name} PROPERTIES AUTOMOC ON AUTORCC ON)
  endif()
  alearix_target_options(${name})
endfunction()

# alearix_add_test(name [GUI] SOURCES ... [LIBS ...])
#   A GoogleTest executable registered with CTest. GUI tests get the test main that
#   creates a QApplication on the offscreen platform.
function(alearix_add_test name)
  cmake_parse_arguments(ARG "GUI" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})  # "tests/support/testfiles.h"
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gmock)
  if(ARG_GUI)
    target_link_libraries(${name} PRIVATE alearix_guitest_main)
    set_target_properties(${name} PROPERTIES AUTOMOC ON AUTORCC ON)
  else()
    target_link_libraries(${name} PRIVATE GTest::gtest_main)
  endif()
  alearix_target_options(${name})
  gtest_discover_tests(${name}
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
    DISCOVERY_TIMEOUT 60)
endfunction()
