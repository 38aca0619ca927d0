# The Windows program installs as one folder that runs where it lies: the program, the Qt
# libraries and plugins it loads, and the compiler's runtime libraries, side by side.
# CPack packs that folder as a zip and as an NSIS installer.

install(TARGETS zephlink9-setup RUNTIME DESTINATION .)
# The parts loaded when first needed (zephlink9-network.dll, zephlink9-charts.dll) lie beside the
# program too: zeph_loaded_part installs them. Qt Network, SerialBus and Charts are theirs.
install(FILES
  $<TARGET_FILE:Qt6::Core> $<TARGET_FILE:Qt6::Gui> $<TARGET_FILE:Qt6::Widgets>
  $<TARGET_FILE:Qt6::SerialPort> $<TARGET_FILE:Qt6::Sql> $<TARGET_FILE:Qt6::Charts>
  $<TARGET_FILE:Qt6::Network> $<TARGET_FILE:Qt6::SerialBus>
  DESTINATION .)
install(FILES $<TARGET_FILE:Qt6::QWindowsIntegrationPlugin> DESTINATION platforms)
# The ring history's SQLite (compiled into the driver).
install(FILES $<TARGET_FILE:Qt6::QSQLiteDriverPlugin> DESTINATION sqldrivers)
install(FILES $<TARGET_FILE:Qt6::QWindowsVistaStylePlugin> DESTINATION styles)

foreach(runtime libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${runtime}
                  OUTPUT_VARIABLE runtime_path OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT IS_ABSOLUTE "${runtime_path}" OR NOT EXISTS "${runtime_path}")
    message(FATAL_ERROR "${CMAKE_CXX_COMPILER} does not know where ${runtime} lies")
  endif()
  install(FILES ${runtime_path} DESTINATION .)
  # Debian ships these with their debug information, four fifths of libstdc++-6.dll.
  install(CODE "execute_process(COMMAND \"${CMAKE_STRIP}\" --strip-debug
                \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${runtime}\" COMMAND_ERROR_IS_FATAL ANY)")
endforeach()

set(CPACK_GENERATOR ZIP NSIS)
set(CPACK_PACKAGE_INSTALL_DIRECTORY "ZEPHLINK9 Setup Tool")
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY "ZEPHLINK9 Setup Tool")
set(CPACK_PACKAGE_EXECUTABLES zephlink9-setup "ZEPHLINK9 Setup Tool")
set(CPACK_NSIS_EXECUTABLES_DIRECTORY .)
set(CPACK_NSIS_DISPLAY_NAME "ZEPHLINK9 Setup Tool")
set(CPACK_NSIS_PACKAGE_NAME "ZEPHLINK9 Setup Tool")
set(CPACK_NSIS_INSTALLED_ICON_NAME zephlink9-setup.exe)
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
# The program is 64-bit only, and so is its installer: it runs wherever the program can, and
# under a Wine that has no 32-bit part.
set(CPACK_NSIS_DEFINES "Target amd64-unicode")
