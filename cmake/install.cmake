# The add-on as users install add-ons, by unpacking it into the simulator's
# folder: cmake --install BUILD --prefix FOLDER lays out Modules/ (the three
# modules), Config/, Meshes/, Scenarios/ and Doc/ (the player's manual,
# Varnell.html) as root/ has them, and Textures/ when root/ has any.
install(TARGETS varnell_dll cvelmessage varnell_dispenser LIBRARY DESTINATION Modules RUNTIME DESTINATION Modules)

# The pilot programs beside the scenarios are varnell's, which flies them; the
# simulator has no use for them.
set(not_for_the_simulator "")
if(VARNELL_ORBITER_SDK)
  set(not_for_the_simulator PATTERN "*.pilot" EXCLUDE)
endif()
install(DIRECTORY root/Config root/Meshes root/Scenarios root/Doc DESTINATION . ${not_for_the_simulator})

file(GLOB_RECURSE textures RELATIVE ${CMAKE_SOURCE_DIR}/root/Textures ${CMAKE_SOURCE_DIR}/root/Textures/*.dds)
foreach(texture ${textures})
  get_filename_component(folder ${texture} DIRECTORY)
  install(FILES root/Textures/${texture} DESTINATION Textures/${folder})
endforeach()
