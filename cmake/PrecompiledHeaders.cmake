# Precompiled Qt headers, built once per layer and shared by every target of that layer
# (REUSE_FROM), instead of parsing the same Qt headers again in every source file or
# building one header per target. A layer's header holds only what its libraries may use, so
# that a library below the widgets still cannot reach a widget class.
#
# Every target shares the project's global compile options, which is what lets them share one
# header. GCC checks that a header fits and silently parses the real headers when it does not;
# clang refuses one built with other macros on the command line, so the fuzz build (clang,
# few files) goes without. A build without them (`-DVANTEL_PCH=OFF`, and the fuzz build) is
# the one that shows a file not including what it uses.
option(VANTEL_PCH "Precompile the Qt headers once for each layer" ON)
if(VANTEL_FUZZ OR NOT CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    set(VANTEL_PCH OFF)
endif()

set(vantel_pch_core <QByteArray> <QCoreApplication> <QDir> <QFile> <QFileInfo> <QHash>
    <QList> <QObject> <QString> <QStringList> <QVariant>)
set(vantel_pch_gui ${vantel_pch_core} <QColor> <QFont> <QFontMetrics> <QImage> <QPainter>
    <QPixmap> <QUndoStack>)
set(vantel_pch_widgets ${vantel_pch_gui} <QAction> <QApplication> <QBoxLayout> <QDialog>
    <QLabel> <QMenu> <QMessageBox> <QPushButton> <QTreeWidget> <QWidget>)
set(vantel_pch_test ${vantel_pch_widgets} <QSignalSpy> <QTemporaryDir> <QTest>)

# vantel_pch_<layer>: a small object library that builds the header for a layer. A target
# that uses it must share the header's macros (GCC warns "not used because" otherwise), so a
# layer's header is made where its targets are.
function(vantel_pch_layer layer)
    if(NOT VANTEL_PCH)
        return()
    endif()
    set(target vantel_pch_${layer})
    add_library(${target} OBJECT ${PROJECT_SOURCE_DIR}/cmake/pch/pch.cpp)
    target_link_libraries(${target} PRIVATE ${ARGN})
    target_precompile_headers(${target} PRIVATE ${vantel_pch_${layer}})
    set_target_properties(${target} PROPERTIES AUTOMOC OFF)
endfunction()

# Lets a target use its layer's header.
function(vantel_use_pch target layer)
    if(VANTEL_PCH)
        target_precompile_headers(${target} REUSE_FROM vantel_pch_${layer})
    endif()
endfunction()
