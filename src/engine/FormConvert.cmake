# Form-file conversion: the pure stream converter (also built natively by fuzz/) and
# the file-level step that fills the work file.
add_library(qrx_formconvert STATIC
  ${CMAKE_CURRENT_LIST_DIR}/FormConvert.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FormText.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FormFile.cpp)
target_include_directories(qrx_formconvert PUBLIC ${CMAKE_SOURCE_DIR}/src)
