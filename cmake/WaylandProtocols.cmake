# Wayland client code for protocols that the program speaks on connections
# of its own: wayland-scanner generates each protocol's header and glue code
# at build time from its XML file (in the tree for the wlroots protocols,
# which Debian does not package; from wayland-protocols otherwise).

include_guard(GLOBAL)

find_package(PkgConfig REQUIRED)
pkg_check_modules(WAYLAND_CLIENT REQUIRED IMPORTED_TARGET GLOBAL wayland-client)
pkg_get_variable(WAYLAND_SCANNER wayland-scanner wayland_scanner)
pkg_get_variable(WAYLAND_PROTOCOLS_DIR wayland-protocols pkgdatadir)
if(NOT WAYLAND_SCANNER OR NOT WAYLAND_PROTOCOLS_DIR)
  message(FATAL_ERROR "wayland-scanner and wayland-protocols are needed (libwayland-dev, wayland-protocols)")
endif()

# Adds to `target` the client code of each protocol XML file given; its
# header is included as "<file name without .xml>-client-protocol.h".
function(qz_wayland_protocols target)
  set(dir ${CMAKE_CURRENT_BINARY_DIR}/wayland-protocols)
  file(MAKE_DIRECTORY ${dir})
  foreach(xml ${ARGN})
    get_filename_component(name ${xml} NAME_WE)
    set(header ${dir}/${name}-client-protocol.h)
    set(code ${dir}/${name}-protocol.c)
    # An argument named `namespace` (the layer shell's) would be read by
    # C++ as its keyword.
    add_custom_command(OUTPUT ${header}
      COMMAND ${WAYLAND_SCANNER} client-header ${xml} ${header}
      COMMAND sed -i -e "s/\\<namespace\\>/name_space/g" ${header}
      DEPENDS ${xml} VERBATIM)
    add_custom_command(OUTPUT ${code}
      COMMAND ${WAYLAND_SCANNER} private-code ${xml} ${code}
      DEPENDS ${xml} VERBATIM)
    target_sources(${target} PRIVATE ${header} ${code})
  endforeach()
  target_include_directories(${target} PRIVATE ${dir})
  target_link_libraries(${target} PRIVATE PkgConfig::WAYLAND_CLIENT)
endfunction()
