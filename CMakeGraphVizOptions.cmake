# What `cmake --graphviz=FILE build` draws: the program's libraries and how
# they link, without tests, benchmarks, fuzz targets and outside libraries.
set(GRAPHVIZ_EXECUTABLES FALSE)
set(GRAPHVIZ_EXTERNAL_LIBS FALSE)
set(GRAPHVIZ_GENERATE_PER_TARGET FALSE)
set(GRAPHVIZ_GENERATE_DEPENDERS FALSE)
set(GRAPHVIZ_IGNORE_TARGETS "^kpl_test_support$" "^kpl_dialog_fixture$"
    "^kpl_widget_test_support$" "^kpl_warnings$" "_resources")
