# Builds the picture generator with the build machine's own compiler and runs it, so that the
# resource script can include every picture as a freshly drawn file. Sets LUMORA_PICTURES_DIR
# and LUMORA_PICTURE_FILES, and a target `pictures`.
find_program(LUMORA_HOST_CXX NAMES g++ c++ REQUIRED NO_CMAKE_FIND_ROOT_PATH)

set(LUMORA_PICTURES_DIR ${CMAKE_BINARY_DIR}/pictures)
set(LUMORA_PICGEN_DIR ${CMAKE_SOURCE_DIR}/resources/picgen CACHE PATH "Sources of the picture generator")
file(GLOB LUMORA_PICGEN_SOURCES CONFIGURE_DEPENDS ${LUMORA_PICGEN_DIR}/*.cpp)
file(GLOB LUMORA_PICGEN_HEADERS CONFIGURE_DEPENDS ${LUMORA_PICGEN_DIR}/*.h)
set(LUMORA_PICGEN ${CMAKE_BINARY_DIR}/host-tools/picgen)

# 104 and 106 also come drawn for displays scaled to 125, 150 and 200 % (resources/resource_ids.h).
set(LUMORA_PICTURE_IDS 104 106 1104 1106 1204 1206 1304 1306 7000 7001 7002 7003 7004 7005 7006 7007 7008 7009 7010)
foreach(base 8000 9000 10000)
  foreach(strip 0 100 200)
    foreach(frame RANGE 14)
      math(EXPR id "${base} + ${strip} + ${frame}")
      list(APPEND LUMORA_PICTURE_IDS ${id})
    endforeach()
  endforeach()
endforeach()
set(LUMORA_PICTURE_FILES ${LUMORA_PICTURES_DIR}/108.ico ${LUMORA_PICTURES_DIR}/contact_sheet.png)
foreach(id ${LUMORA_PICTURE_IDS})
  list(APPEND LUMORA_PICTURE_FILES ${LUMORA_PICTURES_DIR}/${id}.bmp)
endforeach()

add_custom_command(OUTPUT ${LUMORA_PICGEN}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/host-tools
  COMMAND ${LUMORA_HOST_CXX} -std=c++17 -O2 -Wall -Wextra -Werror ${LUMORA_PICGEN_SOURCES}
          -o ${LUMORA_PICGEN}
  DEPENDS ${LUMORA_PICGEN_SOURCES} ${LUMORA_PICGEN_HEADERS} ${CMAKE_SOURCE_DIR}/resources/resource_ids.h
  COMMENT "Building the picture generator" VERBATIM)
add_custom_command(OUTPUT ${LUMORA_PICTURE_FILES}
  COMMAND ${LUMORA_PICGEN} ${LUMORA_PICTURES_DIR}
  DEPENDS ${LUMORA_PICGEN}
  COMMENT "Drawing the pictures" VERBATIM)
add_custom_target(pictures DEPENDS ${LUMORA_PICTURE_FILES})
