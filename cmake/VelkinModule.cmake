# velkin_add_window_module(<target> SOURCES <files...> [UI <names...>] [LINKS <targets...>])
#
# A library of windows: its sources, its Designer forms (by file name, from
# resources/), the pictures, Qt Widgets and the window kit.  LINKS names the
# program's own libraries it uses beyond uikit; they stay private, since a
# window module's headers show only Qt and uikit types.
function(velkin_add_window_module target)
  cmake_parse_arguments(ARG "" "" "SOURCES;UI;LINKS" ${ARGN})
  list(TRANSFORM ARG_UI PREPEND ${PROJECT_SOURCE_DIR}/resources/)
  add_library(${target} STATIC ${ARG_SOURCES} ${ARG_UI})
  set_target_properties(${target} PROPERTIES AUTOUIC_SEARCH_PATHS ${PROJECT_SOURCE_DIR}/resources)
  target_link_libraries(${target} PUBLIC Qt6::Widgets velkin_uikit PRIVATE ${ARG_LINKS})
endfunction()

# Plain C++ libraries: no Qt code generators.
function(velkin_plain_cxx target)
  set_target_properties(${target} PROPERTIES AUTOMOC OFF AUTOUIC OFF AUTORCC OFF)
endfunction()
