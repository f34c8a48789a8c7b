# Precompiled headers for the targets whose files all include the same heavy headers (Qt Widgets,
# CLI11, GoogleTest, nlohmann-json, <regex>): each target parses them once instead of once a file.
# -DTAVREL_PRECOMPILE=OFF builds without them, to check that every file includes what it uses.
option(TAVREL_PRECOMPILE "Precompile the heavy headers of the larger targets" ON)

set(TAVREL_PCH_STANDARD <algorithm> <filesystem> <functional> <map> <memory> <optional> <set>
    <string> <string_view> <vector>)
set(TAVREL_PCH_QT_WIDGETS <QAbstractItemModel> <QAction> <QApplication> <QCheckBox> <QComboBox>
    <QDialog> <QHeaderView> <QLabel> <QLayout> <QLineEdit> <QMainWindow> <QMenu> <QMessageBox>
    <QPushButton> <QSettings> <QString> <QTableView> <QTimer> <QWidget>)
set(TAVREL_PCH_GTEST <gtest/gtest.h> <QTemporaryDir> <SQLiteCpp/Database.h>
    <SQLiteCpp/Statement.h>)

# tavrel_precompile(target header...): the standard headers above and the ones given.
function(tavrel_precompile target)
    if(TAVREL_PRECOMPILE)
        target_precompile_headers(${target} PRIVATE ${TAVREL_PCH_STANDARD} ${ARGN})
    endif()
endfunction()

# tavrel_precompile_qt_widgets(target header...): a target of windows or window tests.
function(tavrel_precompile_qt_widgets target)
    tavrel_precompile(${target} ${TAVREL_PCH_QT_WIDGETS} ${ARGN})
endfunction()
