# Records per second from ORVA frames to weather records; run by hand, not by CTest.
add_executable(link_bench ${CMAKE_CURRENT_LIST_DIR}/link_bench.cpp)
target_link_libraries(link_bench PRIVATE link unitsim Qt5::Core)
