# The benchmark document, shared by every benchmark that needs a big tree.
add_library(vekbenchtree STATIC benchtree.cpp)
target_include_directories(vekbenchtree PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(vekbenchtree PUBLIC vekdocument)
vek_warnings(vekbenchtree)

add_executable(bench_document bench_document.cpp)
target_link_libraries(bench_document PRIVATE vekbenchtree vekdocument)
vek_warnings(bench_document)
