# Precompiled headers (TESSALY_PCH): the Qt, standard and GoogleTest headers that nearly every
# source reads are parsed once per build tree instead of once per source. Each header set has a
# small owner target that compiles it; the libraries, programs and tests reuse the owner's header
# as it is, which works because one tree builds every source with the same compiler flags (GCC
# warns through -Winvalid-pch and parses the headers itself when a flag does not match).
#
# Off by default: it pays in a build from nothing (CI), while ccache does not cache sources
# compiled with a precompiled header unless told to be sloppy about them.

# Headers read by most core sources.
set(TESSALY_PCH_CORE_HEADERS
    <QByteArray> <QColor> <QCoreApplication> <QDateTime> <QDir> <QFile> <QFileInfo> <QHash>
    <QImage> <QList> <QObject> <QPainter> <QPointF> <QRectF> <QSet> <QSizeF> <QString>
    <QStringList> <QThread> <QVariant>
    <algorithm> <array> <atomic> <cmath> <cstring> <exception> <functional> <memory> <mutex>
    <optional> <vector>)
# And by the windows.
set(TESSALY_PCH_UI_HEADERS ${TESSALY_PCH_CORE_HEADERS}
    <QButtonGroup> <QCheckBox> <QComboBox> <QDialog> <QFormLayout> <QGridLayout> <QGroupBox>
    <QHBoxLayout> <QLabel> <QLineEdit> <QPlainTextEdit> <QPointer> <QPushButton> <QRadioButton>
    <QTabWidget> <QTableView> <QVBoxLayout> <QWidget>)
# And by the tests, of core and of the windows. QTest stays out: its content follows each test
# folder's own definitions.
set(TESSALY_PCH_TEST_EXTRA_HEADERS
    <gtest/gtest.h> <QJsonArray> <QJsonDocument> <QJsonObject> <QTemporaryDir> <QTimer> <thread>)
set(TESSALY_PCH_CORE_TEST_HEADERS ${TESSALY_PCH_CORE_HEADERS} ${TESSALY_PCH_TEST_EXTRA_HEADERS})
set(TESSALY_PCH_UI_TEST_HEADERS ${TESSALY_PCH_UI_HEADERS} ${TESSALY_PCH_TEST_EXTRA_HEADERS})

# tessaly_pch_owner(<name> HEADERS headers... LIBS libs...) makes the target that compiles one
# header set with the usage requirements of libs.
function(tessaly_pch_owner name)
    if(NOT TESSALY_PCH)
        return()
    endif()
    cmake_parse_arguments(P "" "" "HEADERS;LIBS" ${ARGN})
    set(source ${CMAKE_BINARY_DIR}/pch/${name}.cpp)
    file(CONFIGURE OUTPUT ${source} CONTENT "// Compiles the precompiled header of ${name}.\n")
    add_library(${name} OBJECT ${source})
    set_target_properties(${name} PROPERTIES AUTOMOC OFF UNITY_BUILD OFF)
    target_link_libraries(${name} PRIVATE ${P_LIBS})
    target_precompile_headers(${name} PRIVATE ${P_HEADERS})
endfunction()

# tessaly_use_pch(<target> <owner>) lets target reuse the header set compiled by owner.
function(tessaly_use_pch target owner)
    if(TESSALY_PCH)
        target_precompile_headers(${target} REUSE_FROM ${owner})
    endif()
endfunction()
