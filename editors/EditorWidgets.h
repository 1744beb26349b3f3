// Small pieces the three editor windows share.
#pragma once

#include "EditorDocument.h"

class QCheckBox;
class QPushButton;
class QTableWidget;
class QWidget;

namespace editors {

// A text-less check box centred in a container as the cell widget of (row, column).
QCheckBox *putCheckCell(QTableWidget *table, int row, int column, bool checked);
QCheckBox *checkCell(const QTableWidget *table, int row, int column);

// Shows the box for a refused or failed save; true when the result needs none.
bool reportSave(QWidget *parent, SaveResult result, const QString &error);

} // namespace editors
