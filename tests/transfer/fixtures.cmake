# Extraction as the install worker does it, driven by tests/process/transfer_test.py.
lw_fixture(fx_extract CONSOLE SOURCES transfer/fixtures/fx_extract.cpp)
target_link_libraries(fx_extract PRIVATE lwtransfer)
