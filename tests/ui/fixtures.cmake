# A page of the toolkit with the skin, shown with ShowModal, for the whole-process tests.
lw_fixture(toolkit_window SOURCES ui/fixtures/toolkit_window.cpp ${LW_SKIN_RC})
target_link_libraries(toolkit_window PRIVATE lwui)
add_dependencies(toolkit_window lw_skin)
set_source_files_properties(${LW_SKIN_RC} PROPERTIES OBJECT_DEPENDS "${LW_SKIN_PNGS}")
