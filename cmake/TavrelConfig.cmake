# find_package(Tavrel): Tavrel::Tavrel (the library and its headers),
# Tavrel::Headers (the headers alone, for plug-ins) and tavrel_add_plugin().
include("${CMAKE_CURRENT_LIST_DIR}/TavrelTargets.cmake")
include("${CMAKE_CURRENT_LIST_DIR}/TavrelPlugin.cmake")
