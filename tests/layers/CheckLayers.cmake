# Fails when the layers are crossed: a source of the core library including a widget or window
# header or a header of the UI library, a file under src/ outside src/app including "app/...", or a
# folder including from a folder that comes after it in FOLDER_ORDER (so no two folders can depend on
# each other, however long the way round).
# Run with cmake -P and:
#   CORE_SOURCES, UI_SOURCES  files listing the targets' sources, one a line (absolute, or relative
#                             to SRC_DIR)
#   SRC_DIR                   the folder that include paths start from (src/)
#   FOLDER_ORDER              the folders under SRC_DIR, each after every folder it includes from
cmake_minimum_required(VERSION 3.24)

foreach(var CORE_SOURCES UI_SOURCES SRC_DIR FOLDER_ORDER)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "CheckLayers: ${var} not given")
  endif()
endforeach()

# The sources of a list file that lie under SRC_DIR, as absolute paths.
function(read_sources list_file out)
  file(STRINGS "${list_file}" entries)
  set(result)
  foreach(entry IN LISTS entries)
    string(STRIP "${entry}" entry)
    if(entry STREQUAL "")
      continue()
    endif()
    cmake_path(ABSOLUTE_PATH entry BASE_DIRECTORY "${SRC_DIR}" NORMALIZE OUTPUT_VARIABLE path)
    cmake_path(IS_PREFIX SRC_DIR "${path}" NORMALIZE under_src)
    if(under_src AND EXISTS "${path}")
      list(APPEND result "${path}")
    endif()
  endforeach()
  set(${out} "${result}" PARENT_SCOPE)
endfunction()

# The names a file's #include lines ask for, as written between <> or "".
function(included_names file out)
  file(STRINGS "${file}" lines REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]")
  set(result)
  foreach(line IN LISTS lines)
    if(line MATCHES "#[ \t]*include[ \t]*[<\"]([^>\"]+)[>\"]")
      list(APPEND result "${CMAKE_MATCH_1}")
    endif()
  endforeach()
  set(${out} "${result}" PARENT_SCOPE)
endfunction()

# Widget and window headers: Qt Widgets and Qt WebEngine, and the window classes of Qt Gui.
set(window_classes
  QAbstractButton QAction QApplication QBoxLayout QCheckBox QClipboard QComboBox QCursor QDialog
  QFileDialog QFormLayout QFrame QGridLayout QGroupBox QGuiApplication QHBoxLayout QLabel QLayout
  QLineEdit QMainWindow QMenu QMenuBar QMessageBox QPlainTextEdit QProgressBar QPushButton
  QRadioButton QScreen QScrollArea QScrollBar QShortcut QSlider QSpinBox QSplitter QStatusBar QStyle
  QTextBrowser QTextEdit QToolBar QToolButton QVBoxLayout QWindow)
function(is_window_header name out)
  cmake_path(GET name FILENAME base)
  string(REGEX REPLACE "\\.h$" "" base "${base}")
  if(name MATCHES "^Qt(Widgets|WebEngine[A-Za-z]*|OpenGLWidgets)(/|$)" OR base MATCHES "^QWebEngine"
     OR base MATCHES "^Q[A-Za-z]*Widget$" OR base IN_LIST window_classes)
    set(${out} TRUE PARENT_SCOPE)
  else()
    set(${out} FALSE PARENT_SCOPE)
  endif()
endfunction()

read_sources("${CORE_SOURCES}" core)
read_sources("${UI_SOURCES}" ui)
if(NOT core)
  message(FATAL_ERROR "CheckLayers: no core sources under ${SRC_DIR} in ${CORE_SOURCES}")
endif()
set(ui_headers)
foreach(path IN LISTS ui)
  if(path MATCHES "\\.h$")
    cmake_path(RELATIVE_PATH path BASE_DIRECTORY "${SRC_DIR}" OUTPUT_VARIABLE rel)
    list(APPEND ui_headers "${rel}")
  endif()
endforeach()

set(faults)
foreach(path IN LISTS core)
  cmake_path(RELATIVE_PATH path BASE_DIRECTORY "${SRC_DIR}" OUTPUT_VARIABLE rel)
  included_names("${path}" names)
  foreach(name IN LISTS names)
    is_window_header("${name}" window)
    if(window)
      list(APPEND faults "${rel}: the core library includes the widget or window header <${name}>")
    elseif(name IN_LIST ui_headers)
      list(APPEND faults "${rel}: the core library includes \"${name}\" of the UI library")
    endif()
  endforeach()
endforeach()

file(GLOB_RECURSE all_sources "${SRC_DIR}/*.h" "${SRC_DIR}/*.cpp" "${SRC_DIR}/*.in")
foreach(path IN LISTS all_sources)
  cmake_path(RELATIVE_PATH path BASE_DIRECTORY "${SRC_DIR}" OUTPUT_VARIABLE rel)
  if(rel MATCHES "^app/")
    continue()
  endif()
  included_names("${path}" names)
  foreach(name IN LISTS names)
    if(name MATCHES "^app/")
      list(APPEND faults "${rel}: only src/app includes \"${name}\"")
    endif()
  endforeach()
endforeach()

# The order of the folders: an include may only reach back.
foreach(path IN LISTS all_sources)
  cmake_path(RELATIVE_PATH path BASE_DIRECTORY "${SRC_DIR}" OUTPUT_VARIABLE rel)
  string(REGEX MATCH "^[^/]+" folder "${rel}")
  if(rel STREQUAL folder)
    continue() # a file at the top belongs to no folder
  endif()
  list(FIND FOLDER_ORDER "${folder}" own_place)
  if(own_place EQUAL -1)
    list(APPEND faults "${rel}: the folder ${folder} has no place in the order of folders")
    continue()
  endif()
  included_names("${path}" names)
  foreach(name IN LISTS names)
    string(REGEX MATCH "^[^/]+" other "${name}")
    list(FIND FOLDER_ORDER "${other}" other_place)
    if(other_place GREATER own_place)
      list(APPEND faults "${rel}: ${folder} includes \"${name}\" of ${other}, which comes after it")
    endif()
  endforeach()
endforeach()

if(faults)
  foreach(fault IN LISTS faults)
    message(NOTICE "${fault}")
  endforeach()
  list(LENGTH faults fault_count)
  message(FATAL_ERROR "Includes that cross the layers: ${fault_count}")
endif()
list(LENGTH core core_count)
message(STATUS "Layers kept: ${core_count} core sources checked")
