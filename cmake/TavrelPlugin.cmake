# tavrel_add_plugin(<name> <source>...)
#
# Builds a Tavrel plug-in: a loadable module named <name>.so or <name>.dll,
# compiled against the plug-in contract, with only the entry points written
# with TAVREL_PLUGIN_API exported, under their plain names. On ELF the
# plug-in's references bind to its own definitions (-Bsymbolic), so that a
# plug-in calling its own ReFresh never reaches Tavrel's export of that name.
# With MinGW the runtimes are linked in, so the plug-in file stands alone.
function(tavrel_add_plugin name)
  add_library(${name} MODULE ${ARGN})
  target_link_libraries(${name} PRIVATE Tavrel::Headers)
  set_target_properties(${name} PROPERTIES
    PREFIX ""
    C_VISIBILITY_PRESET hidden
    CXX_VISIBILITY_PRESET hidden
    VISIBILITY_INLINES_HIDDEN ON)
  if(MINGW)
    target_link_options(${name} PRIVATE -static)
  elseif(NOT WIN32 AND NOT APPLE)
    target_link_options(${name} PRIVATE LINKER:-Bsymbolic)
  endif()
endfunction()
