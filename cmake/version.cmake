# verrolift_version: the header that gives the programs their version, from project().
configure_file(${CMAKE_CURRENT_LIST_DIR}/version.h.in ${CMAKE_BINARY_DIR}/generated/verrolift_version.h @ONLY)
add_library(verrolift_version INTERFACE)
target_include_directories(verrolift_version INTERFACE ${CMAKE_BINARY_DIR}/generated)
