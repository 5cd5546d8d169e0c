# Reports per second of the METAR/SPECI writer; run by hand, not by CTest.
add_executable(metar_bench ${CMAKE_CURRENT_LIST_DIR}/metar_bench.cpp)
target_link_libraries(metar_bench PRIVATE decoder Qt5::Core)
