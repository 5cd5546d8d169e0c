# Time of one dashboard update on the offscreen platform; run by hand, not by CTest.
add_executable(display_bench ${CMAKE_CURRENT_LIST_DIR}/display_bench.cpp)
target_link_libraries(display_bench PRIVATE vdgui)
