# GUI time of one record in the shown window (run under xvfb-run); run by hand, not by CTest.
add_executable(display_bench ${CMAKE_CURRENT_LIST_DIR}/display_bench.cpp)
target_link_libraries(display_bench PRIVATE vdgui)

# CPU of the whole station over a long run against unit-sim (run under xvfb-run); by hand only.
add_executable(soak_bench ${CMAKE_CURRENT_LIST_DIR}/soak_bench.cpp)
target_link_libraries(soak_bench PRIVATE vdgui)
