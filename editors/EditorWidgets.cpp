#include "EditorWidgets.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QTableWidget>

namespace editors {

QCheckBox *putCheckCell(QTableWidget *table, int row, int column, bool checked)
{
    auto *container = new QWidget;
    auto *layout = new QHBoxLayout(container);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *box = new QCheckBox;
    box->setChecked(checked);
    layout->addWidget(box, 0, Qt::AlignCenter);
    table->setCellWidget(row, column, container);
    return box;
}

QCheckBox *checkCell(const QTableWidget *table, int row, int column)
{
    QWidget *container = table->cellWidget(row, column);
    return container ? container->findChild<QCheckBox *>() : nullptr;
}

bool reportSave(QWidget *parent, SaveResult result, const QString &error)
{
    const Notice notice = saveNotice(result, error);
    if (notice.title.isEmpty())
        return true;
    QMessageBox::information(parent, notice.title, notice.text, QMessageBox::Ok);
    return false;
}

} // namespace editors
