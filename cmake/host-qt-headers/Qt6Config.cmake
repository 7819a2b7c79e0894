# For scripts/check-windows-ui only: the host's Qt 6 headers, moc and rcc posing as a Qt for
# mingw-w64, so the Windows build of the user interface can be compiled (never linked) on a
# machine that has no Qt for Windows. Header-only interface targets, no libraries.
set(Qt6_FOUND TRUE)
set(QT_VERSION_MAJOR 6)
set(Qt6Core_VERSION_MAJOR 6)
set(VANTREL_HOST_QT_INCLUDE /usr/include/x86_64-linux-gnu/qt6 CACHE PATH "Host Qt 6 headers")
set(VANTREL_HOST_QT_LIBEXEC /usr/lib/qt6/libexec CACHE PATH "Host Qt 6 moc and rcc")
foreach(module Core Gui Widgets Network Svg Test)
  if(NOT TARGET Qt6::${module})
    string(TOUPPER ${module} upper)
    add_library(Qt6::${module} INTERFACE IMPORTED)
    set_target_properties(Qt6::${module} PROPERTIES
      INTERFACE_INCLUDE_DIRECTORIES "${VANTREL_HOST_QT_INCLUDE};${VANTREL_HOST_QT_INCLUDE}/Qt${module}"
      INTERFACE_COMPILE_DEFINITIONS QT_${upper}_LIB
      # The host headers declare dllimport only for some functions: mingw warns about each.
      INTERFACE_COMPILE_OPTIONS -Wno-attributes)
  endif()
endforeach()
set_property(TARGET Qt6::Core PROPERTY INTERFACE_QT_MAJOR_VERSION 6)
foreach(module Gui Network Test)
  set_property(TARGET Qt6::${module} PROPERTY INTERFACE_LINK_LIBRARIES Qt6::Core)
endforeach()
set_property(TARGET Qt6::Widgets PROPERTY INTERFACE_LINK_LIBRARIES Qt6::Gui)
set_property(TARGET Qt6::Svg PROPERTY INTERFACE_LINK_LIBRARIES Qt6::Gui)
foreach(tool moc rcc)
  if(NOT TARGET Qt6::${tool})
    add_executable(Qt6::${tool} IMPORTED)
    set_target_properties(Qt6::${tool} PROPERTIES IMPORTED_LOCATION ${VANTREL_HOST_QT_LIBEXEC}/${tool})
  endif()
endforeach()
