# The editor is built as layers, each a library that links only the layers beneath it:
#
#   app -> window -> views (map/, tools/, the palette in tiles/) -> document -> records -> platform
#                         \-> platform widgets -> platform
#
# Every folder of src/ is reachable through one include folder, so linking alone cannot stop a file from
# including a header of a layer above its own; scripts/check_includes.py does, in every build, from the list
# of files per layer written here (layers.txt in the build folder).
#
# A file takes the layer of its folder. The lists below name the exceptions, and are the only place that does.

# The records the document is made of; the rest of tiles/ is the palette view.
set(MOSAICOR_RECORD_PIECES tiles/clsVOCell tiles/clsVOTile tiles/clsVOTileset tiles/CellRef tiles/CellPool
    tiles/SharedTexts tiles/CellGameValues tiles/PlacedCell)
# The widgets of platform/: the views and the window build on them, the document and its records may not.
set(MOSAICOR_PLATFORM_WIDGET_PIECES platform/BevelButton platform/BusyCursor platform/Canvas platform/Dialogs
    platform/PopupMenu platform/PropertiesDialog platform/ScrollBar)
# Window code that still lives in the views' folders: it defines the window's own functions. Each leaves this
# list when it no longer includes the window, and the include check says when that is. None is left.
set(MOSAICOR_WINDOW_PIECES_IN_VIEW_FOLDERS)

# Each layer and the layers it links directly.
set(MOSAICOR_LAYERS platform records document platform_widgets views window app)
set(MOSAICOR_LAYER_LINKS_platform "")
set(MOSAICOR_LAYER_LINKS_records platform)
set(MOSAICOR_LAYER_LINKS_document records)
set(MOSAICOR_LAYER_LINKS_platform_widgets platform)
set(MOSAICOR_LAYER_LINKS_views document platform_widgets)
set(MOSAICOR_LAYER_LINKS_window views)
set(MOSAICOR_LAYER_LINKS_app window)
# The one layer that brings Qt Widgets; only it and the layers above it may include a widget header.
set(MOSAICOR_WIDGET_LAYER platform_widgets)

set(MOSAICOR_FOLDER_LAYER_platform platform)
set(MOSAICOR_FOLDER_LAYER_document document)
set(MOSAICOR_FOLDER_LAYER_map views)
set(MOSAICOR_FOLDER_LAYER_tools views)
set(MOSAICOR_FOLDER_LAYER_tiles views)
set(MOSAICOR_FOLDER_LAYER_window window)
set(MOSAICOR_FOLDER_LAYER_app app)

set(MOSAICOR_SOURCE_DIR ${CMAKE_SOURCE_DIR}/src)
foreach(piece ${MOSAICOR_RECORD_PIECES} ${MOSAICOR_PLATFORM_WIDGET_PIECES} ${MOSAICOR_WINDOW_PIECES_IN_VIEW_FOLDERS})
    if(NOT EXISTS ${MOSAICOR_SOURCE_DIR}/${piece}.h AND NOT EXISTS ${MOSAICOR_SOURCE_DIR}/${piece}.cpp)
        message(FATAL_ERROR "cmake/Layers.cmake names src/${piece}, which is no longer there: take it off its list")
    endif()
endforeach()

# Sorts every source of src/ into MOSAICOR_LAYER_FILES_<layer> (absolute paths).
file(GLOB_RECURSE mosaicor_all_sources CONFIGURE_DEPENDS RELATIVE ${MOSAICOR_SOURCE_DIR} ${MOSAICOR_SOURCE_DIR}/*.cpp
     ${MOSAICOR_SOURCE_DIR}/*.h)
list(SORT mosaicor_all_sources)
foreach(source ${mosaicor_all_sources})
    string(REGEX REPLACE "\\.(cpp|h)$" "" piece ${source})
    string(REGEX REPLACE "/.*$" "" folder ${source})
    if(piece IN_LIST MOSAICOR_RECORD_PIECES)
        set(layer records)
    elseif(piece IN_LIST MOSAICOR_PLATFORM_WIDGET_PIECES)
        set(layer platform_widgets)
    elseif(piece IN_LIST MOSAICOR_WINDOW_PIECES_IN_VIEW_FOLDERS)
        set(layer window)
    elseif(DEFINED MOSAICOR_FOLDER_LAYER_${folder})
        set(layer ${MOSAICOR_FOLDER_LAYER_${folder}})
    else()
        message(FATAL_ERROR "src/${source} is in no layer: cmake/Layers.cmake knows no folder ${folder}")
    endif()
    list(APPEND MOSAICOR_LAYER_FILES_${layer} ${MOSAICOR_SOURCE_DIR}/${source})
endforeach()

# The layers' libraries. The program's main() is the executable's alone. They are static for use; a
# mutation run builds them shared so that a planted fault relinks one library, not every test program.
set(MOSAICOR_LIBRARY_TYPE STATIC CACHE STRING "STATIC or SHARED: how the layers' libraries are built")
set(MOSAICOR_MAIN_SOURCE ${MOSAICOR_SOURCE_DIR}/app/main.cpp)
foreach(layer ${MOSAICOR_LAYERS})
    set(sources ${MOSAICOR_LAYER_FILES_${layer}})
    list(REMOVE_ITEM sources ${MOSAICOR_MAIN_SOURCE})
    add_library(mosaicor_${layer} ${MOSAICOR_LIBRARY_TYPE} ${sources})
    # No <target>_EXPORTS define, so shared and static builds compile alike and share a compiler cache.
    set_target_properties(mosaicor_${layer} PROPERTIES DEFINE_SYMBOL "")
    target_include_directories(mosaicor_${layer} PUBLIC ${MOSAICOR_SOURCE_DIR})
    foreach(below ${MOSAICOR_LAYER_LINKS_${layer}})
        target_link_libraries(mosaicor_${layer} PUBLIC mosaicor_${below})
    endforeach()
endforeach()
target_link_libraries(mosaicor_platform PUBLIC Qt6::Core Qt6::Gui PRIVATE PNG::PNG ZLIB::ZLIB)
target_link_libraries(mosaicor_document PRIVATE PkgConfig::ZSTD ZLIB::ZLIB)
target_link_libraries(mosaicor_platform_widgets PUBLIC Qt6::Widgets)
# The whole editor but its main(): what the tests, the benchmarks and the package check link.
add_library(mosaicor_core INTERFACE)
target_link_libraries(mosaicor_core INTERFACE mosaicor_app)

# The list the include check reads: "links <layer> <layers it links>", "widgets <layer>", then
# "<layer> <file>" and "interim <file>" for the window code still in a view folder.
set(manifest "widgets ${MOSAICOR_WIDGET_LAYER}\n")
foreach(layer ${MOSAICOR_LAYERS})
    string(JOIN " " links ${MOSAICOR_LAYER_LINKS_${layer}})
    string(APPEND manifest "links ${layer} ${links}\n")
    foreach(file ${MOSAICOR_LAYER_FILES_${layer}})
        string(APPEND manifest "${layer} ${file}\n")
    endforeach()
endforeach()
foreach(piece ${MOSAICOR_WINDOW_PIECES_IN_VIEW_FOLDERS})
    foreach(extension cpp h)
        if(EXISTS ${MOSAICOR_SOURCE_DIR}/${piece}.${extension})
            string(APPEND manifest "interim ${MOSAICOR_SOURCE_DIR}/${piece}.${extension}\n")
        endif()
    endforeach()
endforeach()
set(MOSAICOR_LAYER_MANIFEST ${CMAKE_BINARY_DIR}/layers.txt)
file(CONFIGURE OUTPUT ${MOSAICOR_LAYER_MANIFEST} CONTENT "${manifest}" @ONLY)
