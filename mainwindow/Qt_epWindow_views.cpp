// Main window: camera views, the shot table and log colours.
#include "Qt_epWindow.h"

#include "MainWindowRules.h"
#include "QImageWidget.h"

#include <QBrush>
#include <QDebug>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QGridLayout>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QTableWidgetItem>
#include <QTextCharFormat>
#include <QTextCursor>

void Qt_epWindow::adjustLayout(const station::Document &document)
{
    const QList<station::Camera> cameras = document.cameras();
    if (cameras.isEmpty())
        return;

    for (const station::Camera &camera : cameras) {

        auto *view = new QGraphicsView(ui.widget_image);
        view->setStyleSheet(QStringLiteral("background-color: rgb(32, 36, 40);border-radius:10px;"));
        QPixmap tile(20, 20);
        tile.fill(QColor(32, 36, 40, 255));
        view->setBackgroundBrush(QBrush(tile));
        view->setRenderHint(QPainter::Antialiasing, false);
        view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        view->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        view->setMouseTracking(true);

        auto *caption = new QLabel(ui.widget_image);
        const QString &key = camera.key;
        const QString &windowName = camera.windowName;
        caption->setAlignment(Qt::AlignCenter);
        caption->setText(QStringLiteral(" 相机名称:") + windowName);

        m_cameras.labels.append(caption);
        m_cameras.keys.append(key);
        m_cameras.items.append(nullptr);
        m_cameras.scenes.append(new QGraphicsScene());
        m_cameras.views.append(view);

        const MainWindowRules::ShotList shots = MainWindowRules::shotList(key, windowName, camera.shotCount);
        if (!shots.error.isEmpty())
            qCritical().noquote().nospace() << "Qt_epWindow::adjustLayout" << " line:" << __LINE__ << ' '
                                            << shots.error;
        if (!shots.entries.isEmpty())
            m_shots.append(shots);
    }

    ui.gridLayout->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    ui.gridLayout->setSpacing(4);
    const int count = m_cameras.views.size();
    for (int c = 0; c < count; ++c) {
        const MainWindowRules::GridCell cell = MainWindowRules::gridCell(c, count);
        ui.gridLayout->addWidget(m_cameras.labels.at(c), cell.captionRow, cell.column);
        ui.gridLayout->addWidget(m_cameras.views.at(c), cell.viewRow, cell.column);
    }
    ui.widget_image->setStyleSheet(QStringLiteral("background-color:  rgb(50, 55, 60);border-radius:10px;"));
}

void Qt_epWindow::initImageCountTable(const station::Document &document)
{
    Q_UNUSED(document);
    QTableWidget *table = ui.tableWidget_defectList;
    table->setColumnCount(3);
    setTableStyle(table);
    table->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    table->horizontalHeader()->setSectionResizeMode(2, QHeaderView::ResizeToContents);
    table->setHorizontalHeaderLabels({QStringLiteral("序号"), QStringLiteral("相机-第几张图"), QStringLiteral("缺陷数")});

    const QBrush background(QColor(32, 36, 40, 255));
    int row = 0;
    for (const MainWindowRules::ShotList &shots : qAsConst(m_shots)) {
        for (const QString &text : shots.tableTexts) {
            table->insertRow(row);
            const QString texts[3] = {QString::number(row + 1), text, QStringLiteral("0")};
            for (int column = 0; column < 3; ++column) {
                auto *item = new QTableWidgetItem(texts[column]);
                item->setTextAlignment(Qt::AlignCenter);
                item->setBackground(background);
                table->setItem(row, column, item);
            }
            m_shotDefectCounts.append(0);
            ++row;
        }
    }
    loadDefectTable();
}

void Qt_epWindow::showImage(const QString &name, const QImage &image)
{
    const int c = MainWindowRules::cameraForImage(name, m_cameras.keys);
    if (c < 0)
        return;
    QGraphicsScene *scene = m_cameras.scenes.at(c);
    scene->clear();
    auto *item = new QImageWidget(m_cameras.pixmaps.toPixmap(image));
    m_cameras.items[c] = item;
    item->fitToView(m_cameras.viewWidth, m_cameras.viewHeight);
    scene->addItem(item);
    QGraphicsView *view = m_cameras.views.at(c);
    view->setSceneRect(MainWindowRules::sceneRect(m_cameras.viewWidth, m_cameras.viewHeight));
    view->setScene(scene);
    view->setFocus();
}

void Qt_epWindow::setLogColor(QPlainTextEdit *edit, const QColor &color)
{
    QTextCharFormat format;
    format.setForeground(QBrush(color));
    QTextCursor cursor = edit->textCursor();
    cursor.mergeCharFormat(format);
    edit->mergeCurrentCharFormat(format);
}
