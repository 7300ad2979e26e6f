# The message box and the installing page with the skin, for tests/process/pages_test.py.
lw_fixture(page_window SOURCES pages/fixtures/page_window.cpp ${LW_SKIN_RC})
target_link_libraries(page_window PRIVATE lwpages)
add_dependencies(page_window lw_skin)
