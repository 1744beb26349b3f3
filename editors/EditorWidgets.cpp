#include "EditorWidgets.h"

#include "QtFramelessWindow.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QMainWindow>
#include <QMessageBox>
#include <QPushButton>
#include <QTableWidget>

namespace editors {

QtFramelessWindow *frameSmallEditor(QMainWindow *window, int margin, QWidget *title, QLabel *icon,
                                    QPushButton *min, QPushButton *max, QPushButton *close)
{
    QtFramelessWindow *frameless = QtFramelessWindow::dialog(window, margin);
    frameless->setTitle(title, min, max, close);
    window->setWindowFlags(Qt::FramelessWindowHint);
    QtFramelessWindow::styleTitle(icon, min, max, close);
    max->hide();
    QObject::connect(min, &QPushButton::pressed, frameless, &QtFramelessWindow::minimizeWindow);
    QObject::connect(close, &QPushButton::clicked, frameless, &QtFramelessWindow::closeWindow);
    return frameless;
}

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
