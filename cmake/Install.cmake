# What `cmake --install` adds to the two programs to make Tilvera a desktop
# program (launcher, icon, manual pages), and the Debian package made of it
# all by `cpack -G DEB`.
include(GNUInstallDirs)

# ---------------------------------------------------------------- launcher

install(FILES ${PROJECT_SOURCE_DIR}/data/tilvera.desktop
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/applications)

# ---------------------------------------------------------------- icon

# The icon is a tree like any other the program draws: the headless companion
# renders this seed's tree, and the icon tool cuts the disc out of it.
set(TILVERA_ICON_SEED 3)
set(TILVERA_ICON_SIZES 48 128 256)

add_library(tilvera_icon_art STATIC ${PROJECT_SOURCE_DIR}/tools/make-icon/IconArt.cpp
                                    ${PROJECT_SOURCE_DIR}/tools/make-icon/RgbaPng.cpp)
target_include_directories(tilvera_icon_art PUBLIC ${PROJECT_SOURCE_DIR}/tools)
target_link_libraries(tilvera_icon_art PUBLIC tilvera_platform)
add_executable(tilvera-make-icon ${PROJECT_SOURCE_DIR}/tools/make-icon/main.cpp)
target_link_libraries(tilvera-make-icon PRIVATE tilvera_icon_art)

if(TARGET tilvera-render)
  set(icon_dir ${PROJECT_BINARY_DIR}/icon)
  set(icon_render ${icon_dir}/tree-${TILVERA_ICON_SEED}.png)
  set(icon_arguments)
  set(icon_files)
  foreach(size ${TILVERA_ICON_SIZES})
    list(APPEND icon_arguments ${size} ${icon_dir}/tilvera-${size}.png)
    list(APPEND icon_files ${icon_dir}/tilvera-${size}.png)
  endforeach()
  add_custom_command(
    OUTPUT ${icon_files}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${icon_dir}
    COMMAND tilvera-render --seed ${TILVERA_ICON_SEED} --png ${icon_render}
    COMMAND tilvera-make-icon ${icon_render} ${icon_arguments}
    DEPENDS tilvera-render tilvera-make-icon
    COMMENT "Drawing the icon from tree ${TILVERA_ICON_SEED}"
    VERBATIM)
  add_custom_target(tilvera-icon ALL DEPENDS ${icon_files})
  foreach(size ${TILVERA_ICON_SIZES})
    install(FILES ${icon_dir}/tilvera-${size}.png RENAME tilvera.png
            DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/icons/hicolor/${size}x${size}/apps)
  endforeach()
endif()

# ---------------------------------------------------------------- manual pages

# The version is filled in, and the pages are compressed as Debian installs them.
set(manual_pages tilvera.6 tilvera-render.1)
set(manual_files)
foreach(page ${manual_pages})
  configure_file(${PROJECT_SOURCE_DIR}/docs/${page} ${PROJECT_BINARY_DIR}/man/${page} @ONLY)
  add_custom_command(
    OUTPUT ${PROJECT_BINARY_DIR}/man/${page}.gz
    COMMAND gzip -9 -n -k -f ${PROJECT_BINARY_DIR}/man/${page}
    DEPENDS ${PROJECT_BINARY_DIR}/man/${page}
    VERBATIM)
  list(APPEND manual_files ${PROJECT_BINARY_DIR}/man/${page}.gz)
  string(REGEX REPLACE ".*\\." "" section ${page})
  install(FILES ${PROJECT_BINARY_DIR}/man/${page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man${section})
endforeach()
add_custom_target(tilvera-manual-pages ALL DEPENDS ${manual_files})

# ---------------------------------------------------------------- documentation

# What every Debian package carries beside its programs: the list of changes
# (in Debian's format, the package being its own upstream), compressed as
# Debian installs it, and the copyright.
configure_file(${PROJECT_SOURCE_DIR}/data/changelog ${PROJECT_BINARY_DIR}/doc/changelog COPYONLY)
add_custom_command(
  OUTPUT ${PROJECT_BINARY_DIR}/doc/changelog.gz
  COMMAND gzip -9 -n -k -f ${PROJECT_BINARY_DIR}/doc/changelog
  DEPENDS ${PROJECT_BINARY_DIR}/doc/changelog
  VERBATIM)
add_custom_target(tilvera-changelog ALL DEPENDS ${PROJECT_BINARY_DIR}/doc/changelog.gz)
install(FILES ${PROJECT_BINARY_DIR}/doc/changelog.gz ${PROJECT_SOURCE_DIR}/data/copyright
        DESTINATION ${CMAKE_INSTALL_DOCDIR})

# ---------------------------------------------------------------- Debian package

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tilvera)
set(CPACK_PACKAGE_VENDOR "Tilvera developers")
set(CPACK_PACKAGE_CONTACT "Tilvera developers <developers@tilvera.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES TRUE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# Where Debian keeps programs that draw pictures; "games" would ask for the
# programs to live in /usr/games.
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION TRUE)
# CPack puts the summary above this on the first line.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Tilvera draws random fractal trees in one window, one after another. Each
tree grows level by level from a trunk in front of a white disc, its branches
shading from purple to green; the shape of every tree is drawn at random.
Q quits, any other key pauses until the next key.
.
The companion tilvera-render draws the same trees without a window and saves
them as PNG images.")
# The banner's typeface; without it the trees are drawn all the same.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS fonts-arapey)
# dpkg-shlibdeps reads the libraries off the programs, with the least versions
# that their symbols need; without it, the same libraries by name alone.
find_program(DPKG_SHLIBDEPS dpkg-shlibdeps)
if(DPKG_SHLIBDEPS)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
else()
  set(CPACK_DEBIAN_PACKAGE_DEPENDS
      "libsdl2-2.0-0, libfreetype6, libfontconfig1, libpng16-16, libx11-6, libwayland-client0")
endif()

include(CPack)
