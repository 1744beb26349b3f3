#include "QtSaveImgSet.h"

#include "EditorWidgets.h"
#include "QtFramelessWindow.h"
#include "Styles.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDebug>
#include <QHeaderView>

QtSaveImgSet::QtSaveImgSet(QWidget *parent, const QString &programFolder)
    : QMainWindow(parent),
      m_doc(QStringLiteral("QtSaveImgSet"), editors::EditorDocument::Backup::OfReference,
            programFolder)
{
    ui.setupUi(this);
    m_frameless = editors::frameSmallEditor(this, 2, ui.title, ui.label_icon, ui.pushButton_min,
                                            ui.pushButton_max, ui.pushButton_close);

    const QSize screen = QtFramelessWindow::screenSize();
    qDebug() << "Screen resolution: " << screen.width() << "x" << screen.height();
    resize(screen.width() / 3, screen.height() / 3 + 100);
    move(screen.width() / 4, screen.height() / 4);

    m_headers << QStringLiteral("序号") << QStringLiteral("相机key") << QStringLiteral("界面窗口名称")
              << stationkey::saveSwitches();
    QTableWidget *table = ui.tableWidget;
    table->setColumnCount(m_headers.size());
    table->setHorizontalHeaderLabels(m_headers);
    const int widths[] = {50, 150, 150, 100, 100, 100, 100};
    for (int c = 0; c < m_headers.size(); ++c)
        table->setColumnWidth(c, widths[c]);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->horizontalHeader()->setSectionsClickable(false);
    table->horizontalHeader()->setStyleSheet(
        styles::greyHeader());
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->horizontalHeader()->setSectionResizeMode(4, QHeaderView::ResizeToContents);
    table->verticalHeader()->setHidden(true);
    table->setMouseTracking(true);
    table->setRowCount(0);

    connect(ui.pushButton_save, &QPushButton::clicked, this, &QtSaveImgSet::save);
}

QtSaveImgSet::~QtSaveImgSet() = default;

void QtSaveImgSet::mousePressEvent(QMouseEvent *event) { m_frameless->mousePressEvent(event); }
void QtSaveImgSet::mouseReleaseEvent(QMouseEvent *event) { m_frameless->mouseReleaseEvent(event); }
void QtSaveImgSet::mouseMoveEvent(QMouseEvent *event) { m_frameless->mouseMoveEvent(event); }

QJsonObject QtSaveImgSet::load_camera_cfg(QString fileName)
{
    return m_doc.load(fileName);
}

void QtSaveImgSet::initTable(QString fileName)
{
    QTableWidget *table = ui.tableWidget;
    table->setRowCount(0);
    const QJsonObject current = load_camera_cfg(fileName);
    m_algorithmNames = station::Document(current).algorithmNames();
    m_rows = editors::saveImgRows(current);
    table->setRowCount(m_rows.size());
    for (int r = 0; r < m_rows.size(); ++r) {
        const editors::SaveImgRow &row = m_rows.at(r);
        int c = 0;
        for (const QString &text : {QString::number(r), row.cameraKey, row.windowName}) {
            auto *item = new QTableWidgetItem(text);
            item->setTextAlignment(Qt::AlignCenter);
            table->setItem(r, c++, item);
        }
        for (int j = 0; j < 4; ++j)
            editors::putCheckCell(table, r, 3 + j, row.ticks[j]);
    }
}

void QtSaveImgSet::save()
{
    QVector<editors::SaveImgRow> rows = m_rows;
    for (int r = 0; r < rows.size(); ++r)
        for (int j = 0; j < 4; ++j) {
            const QCheckBox *box = editors::checkCell(ui.tableWidget, r, 3 + j);
            rows[r].ticks[j] = box && box->isChecked();
        }
    const QJsonArray saveImg = editors::saveImgArray(rows);
    QJsonObject newDoc = m_doc.reference();
    newDoc.insert(stationkey::saveImage(), saveImg);

    QString error;
    const editors::SaveResult result = m_doc.save(newDoc, &error);
    if (!editors::reportSave(this, result, error) || result != editors::SaveResult::Written)
        return;
    for (int r = 0; r < rows.size(); ++r) {
        rows[r].fromDocument = true;
        rows[r].stored = saveImg.at(r);
        std::copy(rows[r].ticks, rows[r].ticks + 4, rows[r].shownTicks);
    }
    m_rows = rows;
    emit reLoadJsonSetParameter(m_algorithmNames, m_doc.fileName());
}
