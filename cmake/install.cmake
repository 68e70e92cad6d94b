# Installing for one user: the program in a folder of its own that the user can write (the settings
# file lives beside the executable), a launcher in bin/, a desktop entry and the icon in the hicolor
# theme. `cmake --install <build>` installs; the `uninstall` target (or cmake/uninstall.cmake in script
# mode) removes exactly the files the last install put there and never the settings folder.
if(CMAKE_INSTALL_PREFIX_INITIALIZED_TO_DEFAULT AND DEFINED ENV{HOME})
  set(CMAKE_INSTALL_PREFIX "$ENV{HOME}/.local" CACHE PATH "Install prefix" FORCE)
endif()

set(chimewick_program_dir lib/chimewick)

# A running copy keeps its executables busy: unlink the old ones first, so that they can be replaced.
# The banner helper goes beside the program, where the program looks for it.
foreach(program chimewick chimewick-banner)
  if(TARGET ${program})
    install(CODE "file(REMOVE \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${chimewick_program_dir}/${program}\")")
    install(TARGETS ${program} RUNTIME DESTINATION ${chimewick_program_dir})
  endif()
endforeach()

# The launcher is a relative link, so it stays right whatever the prefix. The program resolves it
# (/proc/self/exe) and so finds its settings beside the real executable.
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/install/bin)
file(CREATE_LINK ../${chimewick_program_dir}/chimewick ${CMAKE_BINARY_DIR}/install/bin/chimewick SYMBOLIC)
install(FILES ${CMAKE_BINARY_DIR}/install/bin/chimewick DESTINATION bin)

# The desktop entry names the installed program, so it is written at install time, for the prefix
# given then (cmake --install --prefix).
install(CODE "
  set(CHIMEWICK_DESKTOP_IN \"${PROJECT_SOURCE_DIR}/resources/desktop/chimewick.desktop.in\")
  set(CHIMEWICK_DESKTOP_OUT \"${CMAKE_BINARY_DIR}/install/chimewick.desktop\")
  set(CHIMEWICK_PROGRAM \"\${CMAKE_INSTALL_PREFIX}/${chimewick_program_dir}/chimewick\")")
install(SCRIPT ${CMAKE_CURRENT_LIST_DIR}/desktop-entry.cmake)
install(FILES ${CMAKE_BINARY_DIR}/install/chimewick.desktop DESTINATION share/applications)

foreach(size 16 24 32 48 64 128 256)
  install(FILES ${PROJECT_SOURCE_DIR}/resources/icons/chimewick-${size}.png
          DESTINATION share/icons/hicolor/${size}x${size}/apps RENAME chimewick.png)
endforeach()
install(FILES ${PROJECT_SOURCE_DIR}/resources/icons/chimewick.svg
        DESTINATION share/icons/hicolor/scalable/apps)

# Last: the list of what this install put down, kept in the program's folder for uninstalling. Paths
# are relative to the prefix, so a staged install (DESTDIR) uninstalls from where it ends up.
install(CODE "
  set(chimewick_root \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/\")
  set(chimewick_list \"\")
  foreach(chimewick_file IN LISTS CMAKE_INSTALL_MANIFEST_FILES)
    string(FIND \"\${chimewick_file}\" \"\${chimewick_root}\" chimewick_at)
    if(chimewick_at EQUAL 0)
      string(LENGTH \"\${chimewick_root}\" chimewick_length)
      string(SUBSTRING \"\${chimewick_file}\" \${chimewick_length} -1 chimewick_file)
    endif()
    string(APPEND chimewick_list \"\${chimewick_file}\\n\")
  endforeach()
  string(APPEND chimewick_list \"${chimewick_program_dir}/installed-files.txt\\n\")
  file(WRITE \"\${chimewick_root}${chimewick_program_dir}/installed-files.txt\" \"\${chimewick_list}\")")

add_custom_target(uninstall
  COMMAND ${CMAKE_COMMAND} -DCHIMEWICK_PREFIX=${CMAKE_INSTALL_PREFIX}
          -P ${CMAKE_CURRENT_LIST_DIR}/uninstall.cmake
  COMMENT "Removing the files installed into ${CMAKE_INSTALL_PREFIX}"
  VERBATIM)
