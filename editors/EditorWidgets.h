// Small pieces the three editor windows share.
#pragma once

#include "EditorDocument.h"

class QCheckBox;
class QLabel;
class QMainWindow;
class QtFramelessWindow;
class QPushButton;
class QTableWidget;
class QWidget;

namespace editors {

// Frameless title bar of the defect and image-saving editors: logo, icon buttons, no
// maximise; minimise on press, close on click.
QtFramelessWindow *frameSmallEditor(QMainWindow *window, int margin, QWidget *title, QLabel *icon,
                                    QPushButton *min, QPushButton *max, QPushButton *close);

// A text-less check box centred in a container as the cell widget of (row, column).
QCheckBox *putCheckCell(QTableWidget *table, int row, int column, bool checked);
QCheckBox *checkCell(const QTableWidget *table, int row, int column);

// Shows the box for a refused or failed save; true when the result needs none.
bool reportSave(QWidget *parent, SaveResult result, const QString &error);

} // namespace editors
