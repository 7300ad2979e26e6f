# A console program that makes reports the ways the installer and the reporter's other
# callers do, so the tests can watch what reaches the report collector.
lw_fixture(report_client CONSOLE SOURCES report/fixtures/report_client.cpp)
target_link_libraries(report_client PRIVATE lwreport)
