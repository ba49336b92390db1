# Checks of the code's shape that run with the build, after cmake/Layers.cmake.
find_package(Python3 REQUIRED COMPONENTS Interpreter)

# Every include points down the layers. The lowest layer waits for the check, so a wrong include fails any
# build before anything is compiled.
get_target_property(qt_widget_include_dirs Qt6::Widgets INTERFACE_INCLUDE_DIRECTORIES)
list(FILTER qt_widget_include_dirs INCLUDE REGEX "/QtWidgets/?$")
set(include_check_stamp ${CMAKE_BINARY_DIR}/include_check.stamp)
set(all_layer_files "")
foreach(layer ${MOSAICOR_LAYERS})
    list(APPEND all_layer_files ${MOSAICOR_LAYER_FILES_${layer}})
endforeach()
add_custom_command(
    OUTPUT ${include_check_stamp}
    COMMAND Python3::Interpreter ${CMAKE_SOURCE_DIR}/scripts/check_includes.py ${MOSAICOR_LAYER_MANIFEST}
            --root ${MOSAICOR_SOURCE_DIR} --widget-headers ${qt_widget_include_dirs}
    COMMAND ${CMAKE_COMMAND} -E touch ${include_check_stamp}
    DEPENDS ${CMAKE_SOURCE_DIR}/scripts/check_includes.py ${MOSAICOR_LAYER_MANIFEST} ${all_layer_files}
    COMMENT "Checking that every include points down the layers"
    VERBATIM)
add_custom_target(mosaicor_include_check ALL DEPENDS ${include_check_stamp})
add_dependencies(mosaicor_platform mosaicor_include_check)

# Every header compiles on its own, with only its layer's libraries: one small unit per header that includes
# it and nothing else. The sanitizer build, which would only repeat it, leaves it out.
option(MOSAICOR_CHECK_HEADERS "Compile every header of src/ on its own" ON)
if(MOSAICOR_CHECK_HEADERS AND NOT MOSAICOR_SANITIZE)
    foreach(layer ${MOSAICOR_LAYERS})
        set(units "")
        foreach(file ${MOSAICOR_LAYER_FILES_${layer}})
            if(file MATCHES "\\.h$")
                file(RELATIVE_PATH header ${MOSAICOR_SOURCE_DIR} ${file})
                set(unit ${CMAKE_BINARY_DIR}/header_check/${header}.cpp)
                file(CONFIGURE OUTPUT ${unit} CONTENT "#include \"${header}\"\n" @ONLY)
                list(APPEND units ${unit})
            endif()
        endforeach()
        if(units)
            add_library(mosaicor_${layer}_headers OBJECT ${units})
            target_link_libraries(mosaicor_${layer}_headers PRIVATE mosaicor_${layer})
            set_target_properties(mosaicor_${layer}_headers PROPERTIES AUTOMOC OFF)
        endif()
    endforeach()
endif()
