# Precompiled headers: the standard library, Qt and GoogleTest headers that a
# source parses anew each time (a second or two, as much as many a test
# source's own code). Each kind is compiled once per build and reused:
#   test programs    GoogleTest and the standard library, with Qt's Gui or
#                    Widgets headers when they compile against those modules;
#   window layers    (libraries and programs on Qt's Gui or Widgets) the
#                    standard library and those Qt headers.
# The other libraries keep none: little of their time goes into headers, and
# their code and warnings stay exactly as written.
# Folders need do nothing: the kinds are chosen at the end of the configure
# from what each target links. Only headers from outside the project go in: a
# project header would rebuild every source on each edit of it, and would let
# a source use a layer it does not include. QtTest stays out, because its
# headers read macros that differ from one test folder to the next.
#
# A target keeps out with the DISABLE_PRECOMPILE_HEADERS property (the header
# checks do, since a precompiled header would hide what they check), a source
# with compile options of its own keeps out by itself. GCC uses a precompiled
# header only when the flags and the macros it reads match; CMake passes
# -Winvalid-pch, so under -Werror a mismatch fails the build instead of quietly
# parsing everything again.

set(ORVEL_PCH_STD
  <algorithm> <array> <atomic> <bit> <chrono> <cmath> <complex> <cstddef> <cstdint> <cstdio>
  <cstdlib> <cstring> <exception> <filesystem> <fstream> <functional> <limits> <map> <memory>
  <mutex> <numbers> <numeric> <optional> <random> <span> <sstream> <stdexcept> <string>
  <string_view> <thread> <type_traits> <utility> <vector>)
set(ORVEL_PCH_QT_GUI
  <QBrush> <QColor> <QFont> <QFontMetrics> <QGuiApplication> <QImage> <QPainter> <QPen>
  <QPixmap> <QPolygon> <QRect> <QRegion> <QString> <QStringList>)
set(ORVEL_PCH_QT_WIDGETS
  <QAction> <QApplication> <QCheckBox> <QComboBox> <QDialog> <QGridLayout> <QGroupBox>
  <QHBoxLayout> <QLabel> <QLineEdit> <QMainWindow> <QMdiArea> <QMdiSubWindow> <QMenu>
  <QMessageBox> <QPlainTextEdit> <QPushButton> <QRadioButton> <QStyle> <QTabWidget>
  <QTableWidget> <QToolBar> <QVBoxLayout> <QWidget>)

# The Qt module a target compiles against (Widgets, Gui, Core or nothing),
# from the usage requirements it links: link-only dependencies pass no headers.
function(_orvel_qt_level out target)
  get_target_property(pending ${target} LINK_LIBRARIES)
  set(seen)
  set(level "")
  while(pending)
    list(POP_FRONT pending item)
    if(item MATCHES "^\\$<LINK_ONLY:" OR NOT TARGET "${item}")
      continue()
    endif()
    get_target_property(aliased ${item} ALIASED_TARGET)
    if(aliased)
      set(item ${aliased})
    endif()
    if(item IN_LIST seen)
      continue()
    endif()
    list(APPEND seen ${item})
    if(item STREQUAL "Qt6::Widgets")
      set(level Widgets)
    elseif(item STREQUAL "Qt6::Gui" AND NOT level STREQUAL "Widgets")
      set(level Gui)
    elseif(item STREQUAL "Qt6::Core" AND NOT level)
      set(level Core)
    endif()
    get_target_property(next ${item} INTERFACE_LINK_LIBRARIES)
    if(next)
      list(APPEND pending ${next})
    endif()
  endwhile()
  set(${out} ${level} PARENT_SCOPE)
endfunction()

# The target whose precompiled header the targets of <kind> (test or code)
# and Qt <level> reuse; made on first use, and built only for its users.
function(_orvel_pch_carrier out kind level)
  set(name orvel_pch_${kind}_${level})
  if(NOT TARGET ${name})
    set(source ${CMAKE_BINARY_DIR}/orvel_pch/${name}.cpp)
    file(CONFIGURE OUTPUT ${source} CONTENT "// Carries a shared precompiled header.\n")
    add_library(${name} OBJECT EXCLUDE_FROM_ALL ${source})
    target_link_libraries(${name} PRIVATE Qt6::${level})
    set(headers ${ORVEL_PCH_STD})
    if(kind STREQUAL "test")
      target_link_libraries(${name} PRIVATE GTest::gtest)
      # The same flags as the test programs that reuse it.
      target_compile_options(${name} PRIVATE ${ORVEL_TEST_OPTIMIZE})
      list(PREPEND headers <gtest/gtest.h>)
    endif()
    if(level STREQUAL "Gui" OR level STREQUAL "Widgets")
      list(APPEND headers ${ORVEL_PCH_QT_GUI})
    endif()
    if(level STREQUAL "Widgets")
      list(APPEND headers ${ORVEL_PCH_QT_WIDGETS})
    endif()
    target_precompile_headers(${name} PRIVATE ${headers})
  endif()
  set(${out} ${name} PARENT_SCOPE)
endfunction()

function(_orvel_targets_below out dir)
  get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
  get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
  foreach(subdir IN LISTS subdirs)
    _orvel_targets_below(more ${subdir})
    list(APPEND targets ${more})
  endforeach()
  set(${out} ${targets} PARENT_SCOPE)
endfunction()

function(_orvel_apply_precompiled_headers)
  find_package(Qt6 REQUIRED COMPONENTS Core Gui Widgets)
  _orvel_targets_below(targets ${PROJECT_SOURCE_DIR})
  foreach(target IN LISTS targets)
    get_target_property(type ${target} TYPE)
    if(NOT type MATCHES "^(EXECUTABLE|STATIC_LIBRARY|SHARED_LIBRARY|OBJECT_LIBRARY)$")
      continue()
    endif()
    get_target_property(disabled ${target} DISABLE_PRECOMPILE_HEADERS)
    get_target_property(own ${target} PRECOMPILE_HEADERS)
    get_target_property(reused ${target} PRECOMPILE_HEADERS_REUSE_FROM)
    if(disabled OR own OR reused OR target MATCHES "^orvel_pch_")
      continue()
    endif()
    _orvel_qt_level(level ${target})
    if(NOT level)
      continue()
    endif()
    get_target_property(is_test ${target} ORVEL_TEST_PROGRAM)
    if(NOT is_test AND level STREQUAL "Core")
      continue()
    endif()
    if(is_test)
      _orvel_pch_carrier(carrier test ${level})
    else()
      _orvel_pch_carrier(carrier code ${level})
    endif()
    target_precompile_headers(${target} REUSE_FROM ${carrier})
    # GCC 12 drops the headers' own "#pragma GCC diagnostic" when it loads them
    # precompiled, and the standard library silences these three there: they
    # would report the library's known false alarms (std::string's operator+)
    # as errors of the source that inlined it. AddressSanitizer checks the
    # same bounds on every run.
    target_compile_options(${target} PRIVATE -Wno-array-bounds -Wno-stringop-overflow -Wno-stringop-overread)
    # A source with flags of its own cannot use the shared header.
    get_target_property(sources ${target} SOURCES)
    get_target_property(dir ${target} SOURCE_DIR)
    foreach(source IN LISTS sources)
      cmake_path(ABSOLUTE_PATH source BASE_DIRECTORY ${dir})
      get_source_file_property(options ${source} TARGET_DIRECTORY ${target} COMPILE_OPTIONS)
      get_source_file_property(flags ${source} TARGET_DIRECTORY ${target} COMPILE_FLAGS)
      if(options OR flags)
        set_source_files_properties(${source} TARGET_DIRECTORY ${target}
          PROPERTIES SKIP_PRECOMPILE_HEADERS ON)
      endif()
    endforeach()
  endforeach()
endfunction()

cmake_language(DEFER DIRECTORY ${PROJECT_SOURCE_DIR} CALL _orvel_apply_precompiled_headers)
