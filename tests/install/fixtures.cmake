# Programs the installation tests start, register or run as the uninstaller.
lw_fixture(fx_app SOURCES install/fixtures/fx_app.cpp install/fixtures/fx_app.rc)
lw_fixture(fx_timeout CONSOLE SOURCES install/fixtures/fx_timeout.cpp)
lw_fixture(fx_install_driver CONSOLE SOURCES install/fixtures/fx_install_driver.cpp)
target_link_libraries(fx_install_driver PRIVATE lwinstall)

# The shell extension in its two file names; regsvr32 finds the entry points undecorated.
foreach(dll lwpicshellext lwpicshellext64)
  add_library(${dll} SHARED install/fixtures/fx_shellext.cpp)
  set_target_properties(${dll} PROPERTIES PREFIX "" OUTPUT_NAME ${dll}
    RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/tests/fixtures)
  target_compile_options(${dll} PRIVATE ${LW_WARNINGS})
  target_link_options(${dll} PRIVATE -Wl,--kill-at)
  set_property(GLOBAL APPEND PROPERTY LW_FIXTURES ${dll})
endforeach()
