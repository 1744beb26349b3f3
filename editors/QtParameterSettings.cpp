#include "QtParameterSettings.h"

#include "EditorWidgets.h"
#include "QtFramelessWindow.h"
#include "Styles.h"
#include "ScrollBars.h"

#include <QCoreApplication>
#include <QDebug>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QPushButton>
#include <QSpacerItem>
#include <QTableWidget>
#include <QVBoxLayout>

using editors::BoxKind;

namespace {

const char *const kTabStyle =
    "QTabWidget#tabWidget{background-color:rgb(68, 74, 80);}"
    "                                 QTabBar::tab{background-color:rgb(68, 74, 80);}"
    "                                 QTabBar::tab::selected{background-color:rgb(0,100,200);}";
const char *const kHeaderStyle =
    "QHeaderView::section{border-top:1px solid #000000;border-left:1px solid #000000;"
    "border-right:1px solid #000000;border-bottom: 1px solid #000000;"
    "background-color:rgb(50,55,56);padding:4px;}";

// Column 0 of a row carries the stored element it was built from.
enum Role { StoredRole = Qt::UserRole, IndexRole, ShownNameRole, ShownValueRole };

void setRow(QTableWidget *table, int r, const editors::ParamRow &row)
{
    auto *name = new QTableWidgetItem(row.name);
    if (row.fromDocument) {
        name->setData(StoredRole, QVariant(row.stored));
        name->setData(IndexRole, row.storedIndex);
        name->setData(ShownNameRole, row.shownName);
        name->setData(ShownValueRole, row.shownValue);
    }
    table->setItem(r, 0, name);
    table->setItem(r, 1, new QTableWidgetItem(row.value));
}

QString cellText(const QTableWidget *table, int r, int c)
{
    const QTableWidgetItem *item = table->item(r, c);
    return item ? item->text() : QString();
}

QVector<editors::ParamRow> rowsOf(const QTableWidget *table)
{
    QVector<editors::ParamRow> rows;
    for (int r = 0; r < table->rowCount(); ++r) {
        editors::ParamRow row;
        row.name = cellText(table, r, 0);
        row.value = cellText(table, r, 1);
        const QTableWidgetItem *item = table->item(r, 0);
        if (item && item->data(IndexRole).isValid()) {
            row.fromDocument = true;
            row.storedIndex = item->data(IndexRole).toInt();
            row.stored = item->data(StoredRole).toJsonValue();
            row.shownName = item->data(ShownNameRole).toString();
            row.shownValue = item->data(ShownValueRole).toString();
        }
        rows << row;
    }
    return rows;
}

// After a write every row stands for the element it was saved as.
void markSaved(QTableWidget *table, BoxKind kind, const QJsonValue &entry)
{
    const QList<station::Parameter> params = editors::entryView(kind, entry).parameters;
    for (int r = 0; r < table->rowCount() && r < params.size(); ++r) {
        if (!table->item(r, 0))
            table->setItem(r, 0, new QTableWidgetItem);
        QTableWidgetItem *item = table->item(r, 0);
        item->setData(StoredRole, QVariant(params.at(r).stored));
        item->setData(IndexRole, r);
        item->setData(ShownNameRole, cellText(table, r, 0));
        item->setData(ShownValueRole, cellText(table, r, 1));
    }
}

} // namespace

QtParameterSettings::QtParameterSettings(QWidget *parent, const QString &programFolder)
    : QMainWindow(parent),
      m_doc(QStringLiteral("QtParameterSettings"), editors::EditorDocument::Backup::OfLoaded,
            programFolder)
{
    ui.setupUi(this);
    m_frameless = QtFramelessWindow::dialog(this, 2);
    m_frameless->setTitle(ui.title, ui.pushButton_min, ui.pushButton_max, ui.pushButton_close);
    ui.frame->setMouseTracking(true);

    initTabs(load_camera_cfg(QStringLiteral("camera_cfg.json")));

    ui.pushButton_saveCfg->setStyleSheet(styles::darkButton());
    ui.pushButton_giveup->setStyleSheet(styles::darkButton());
    connect(ui.pushButton_saveCfg, &QPushButton::clicked, this, &QtParameterSettings::saveProgramObj);
    connect(ui.pushButton_giveup, &QPushButton::clicked, this,
            [this] { initTabs(load_camera_cfg(m_doc.fileName())); });

    QtFramelessWindow::styleTitle(ui.label_icon, ui.pushButton_min, ui.pushButton_max, ui.pushButton_close);
    connect(ui.pushButton_min, &QPushButton::clicked, m_frameless, &QtFramelessWindow::minimizeWindow);
    connect(ui.pushButton_close, &QPushButton::clicked, m_frameless, &QtFramelessWindow::closeWindow);

    const QSize screen = QtFramelessWindow::screenSize();
    qDebug() << "Screen resolution: " << screen.width() << "x" << screen.height();
    connect(ui.pushButton_max, &QPushButton::clicked, this, &QtParameterSettings::toggleMaximized);

    setWindowFlags(Qt::FramelessWindowHint);
    styleScrollBars(ui.scrollArea); // the contents scroll where the screen is small
    QtFramelessWindow::placeTool(this);
}

QtParameterSettings::~QtParameterSettings()
{
    clearBoxes();
}

void QtParameterSettings::mousePressEvent(QMouseEvent *event) { m_frameless->mousePressEvent(event); }
void QtParameterSettings::mouseReleaseEvent(QMouseEvent *event) { m_frameless->mouseReleaseEvent(event); }
void QtParameterSettings::mouseMoveEvent(QMouseEvent *event) { m_frameless->mouseMoveEvent(event); }

bool QtParameterSettings::event(QEvent *event)
{
    if (event->type() == QEvent::DeferredDelete && m_building) {
        m_deleteWhenBuilt = true;
        return true;
    }
    return QMainWindow::event(event);
}

QJsonObject QtParameterSettings::load_camera_cfg(QString fileName)
{
    return m_doc.load(fileName);
}

void QtParameterSettings::clearBoxes()
{
    for (QList<CfgWindow> *list : {&m_cameraBoxes, &m_algorithmBoxes})
        for (const CfgWindow &box : *list) {
            delete box.addButton;
            delete box.deleteButton;
            delete box.paramTable;
            delete box.groupBox;
        }
    forgetBoxes();
}

void QtParameterSettings::forgetBoxes()
{
    m_cameraBoxes.clear();
    m_algorithmBoxes.clear();
    m_cameraCount = 0;
    m_algorithmCount = 0;
}

QTabWidget *QtParameterSettings::newTabWidget(QGroupBox *group, QGridLayout *grid,
                                              const char *pageName, const QString &groupTitle,
                                              const QString &style)
{
    auto *tabs = new QTabWidget(group);
    auto *page = new QWidget;
    page->setObjectName(QLatin1String(pageName));
    tabs->addTab(page, editors::pageTitle(0));
    grid->addWidget(tabs, 2, 1);
    group->setTitle(groupTitle);
    tabs->setDocumentMode(true);
    tabs->setStyleSheet(style);
    return tabs;
}

void QtParameterSettings::initTabs(QJsonObject programObj)
{
    m_shownObj = programObj;
    forgetBoxes();
    // The old pages go once their pending events are delivered: deleting thousands of
    // widgets that still have queued events costs a scan of the whole queue for each.
    for (QTabWidget *old : {ui.tabWidget_algorithm, ui.tabWidget_camera}) {
        old->hide();
        old->setObjectName(QString());
        old->parentWidget()->layout()->removeWidget(old);
        old->deleteLater();
    }
    ui.tabWidget_algorithm = newTabWidget(ui.groupBox_algorithmCfg, ui.gridLayout_2, "tab_2",
                                          QStringLiteral("算法参数"), QLatin1String(kTabStyle));
    ui.tabWidget_algorithm->setObjectName(QStringLiteral("tabWidget_algorithm"));
    ui.tabWidget_camera = newTabWidget(ui.groupBox_cameraCfg, ui.gridLayout, "tab",
                                       QStringLiteral("相机参数"),
                                       QLatin1String(kTabStyle)
                                           + QStringLiteral("QTabWidget::tab-bar{border: 0px;}"));
    ui.tabWidget_camera->setObjectName(QStringLiteral("tabWidget_camera"));

    const QList<station::Station> stations = station::Document(programObj).stations();
    m_workingStations = QJsonArray();
    for (const station::Station &station : stations)
        m_workingStations.append(station.stored);
    const bool outermost = !m_building;
    m_building = true;
    buildBoxes(BoxKind::Camera, ui.tabWidget_camera, stations);
    buildBoxes(BoxKind::Algorithm, ui.tabWidget_algorithm, stations);
    ui.tabWidget_camera->setCurrentIndex(0);
    ui.tabWidget_algorithm->setCurrentIndex(0);
    if (!outermost)
        return;
    m_building = false;
    if (m_deleteWhenBuilt)
        deleteLater();
}

void QtParameterSettings::buildBoxes(BoxKind kind, QTabWidget *tabs,
                                     const QList<station::Station> &stations)
{
    int k = 0;
    QGridLayout *grid = nullptr;
    for (const station::Station &station : stations) {
        QList<QJsonValue> entries;
        if (kind == BoxKind::Camera)
            for (const station::Camera &camera : station.cameras)
                entries << camera.stored;
        else
            for (const station::Algorithm &algorithm : station.algorithms)
                entries << algorithm.stored;
        for (const QJsonValue &entry : qAsConst(entries)) {
            ++k;
            if (k % editors::kBoxesPerPage == 1) {
                QWidget *page = tabs->widget(0);
                if (k > 1) {
                    // Each table queues its delayed layouts on timers, and Qt searches its
                    // whole timer list to stop one: letting a page's timers run before the
                    // next page keeps that list short and the build linear in the boxes.
                    // User input waits; the window is deleted only later, never in here.
                    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
                    grid->addItem(new QSpacerItem(20, 20, QSizePolicy::Minimum, QSizePolicy::Expanding),
                                  6, 0);
                    page = new QWidget;
                    tabs->addTab(page, editors::pageTitle(editors::boxPlace(k).page));
                }
                grid = new QGridLayout(page);
            }
            if (kind == BoxKind::Camera) {
                ++m_cameraCount;
                setCameraTableWidget(k, station.name, entry, grid);
            } else {
                ++m_algorithmCount;
                setAlgorithmTableWidget(k, station.name, entry, grid);
            }
        }
    }
}

void QtParameterSettings::setCameraTableWidget(int k, QString stationName, const QJsonValue &entry,
                                               QGridLayout *grid)
{
    addBox(BoxKind::Camera, k, stationName, entry, grid);
}

void QtParameterSettings::setAlgorithmTableWidget(int k, QString stationName,
                                                  const QJsonValue &entry, QGridLayout *grid)
{
    addBox(BoxKind::Algorithm, k, stationName, entry, grid);
}

void QtParameterSettings::addBox(BoxKind kind, int k, const QString &stationName,
                                 const QJsonValue &entry, QGridLayout *grid)
{
    const editors::EntryView view = editors::entryView(kind, entry);
    CfgWindow box;
    box.stationName = stationName;
    box.entryObj = entry;
    box.moduleKey = view.moduleKey;
    box.boxTitle = view.title;
    // Every widget is made under its page and styled before it is first polished, so
    // nothing is re-styled when it is placed: the cost of a box does not grow with the page.
    box.groupBox = new QGroupBox(grid->parentWidget());
    box.groupBox->setStyleSheet(QStringLiteral(
        "background-color: rgb(32,36,40);color: rgb(229, 229, 229);border-radius:5px;"
        "border-color: rgb(0, 0, 0)"));
    box.groupBox->setTitle(box.boxTitle);
    box.paramTable = new QTableWidget(box.groupBox);
    box.addButton = new QPushButton(QStringLiteral("增加一行"), box.groupBox);
    box.deleteButton = new QPushButton(QStringLiteral("删除一行"), box.groupBox);

    QTableWidget *table = box.paramTable;
    table->setStyleSheet(QStringLiteral(
        "gridline-color: rgb(0, 0, 0);\ncolor: rgb(220, 220, 220);\nborder-radius:1px;\n"
        "border-color: rgb(0, 0, 0);background-color: rgb(50,55,56);"));
    table->horizontalHeader()->setStyleSheet(kHeaderStyle);
    table->verticalHeader()->setStyleSheet(kHeaderStyle);
    table->setColumnCount(2);
    table->setHorizontalHeaderLabels({QStringLiteral("参数名"), QStringLiteral("参数值")});
    table->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);
    table->setMouseTracking(true);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->horizontalHeader()->setSectionsClickable(false);
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    table->verticalHeader()->setHidden(true);

    const QVector<editors::ParamRow> rows = editors::parameterRows(view.parameters);
    table->setRowCount(rows.size());
    for (int r = 0; r < rows.size(); ++r)
        setRow(table, r, rows.at(r));

    auto *layout = new QVBoxLayout(box.groupBox);
    layout->addItem(new QSpacerItem(10, 10, QSizePolicy::Minimum, QSizePolicy::Fixed));
    layout->addWidget(table);
    auto *buttons = new QHBoxLayout;
    for (QPushButton *button : {box.addButton, box.deleteButton}) {
        button->setMinimumSize(50, 30);
        button->setStyleSheet(styles::darkButton());
        buttons->addWidget(button);
    }
    layout->addLayout(buttons);
    const editors::BoxPlace place = editors::boxPlace(k);
    grid->addWidget(box.groupBox, place.row, place.column);

    connect(box.addButton, &QPushButton::clicked, table, [table] {
        const int r = table->rowCount();
        table->setRowCount(r + 1);
        table->setItem(r, 0, new QTableWidgetItem);
        table->setItem(r, 1, new QTableWidgetItem);
    });
    QList<CfgWindow> &list = kind == BoxKind::Camera ? m_cameraBoxes : m_algorithmBoxes;
    const int index = list.size();
    connect(box.deleteButton, &QPushButton::clicked, this, [this, kind, index] {
        const QList<CfgWindow> &boxes = kind == BoxKind::Camera ? m_cameraBoxes : m_algorithmBoxes;
        if (index < boxes.size())
            deleteRow(kind, boxes.at(index));
    });
    list.append(box);
}

void QtParameterSettings::deleteRow(BoxKind kind, const CfgWindow &box)
{
    QTableWidget *table = box.paramTable;
    const int r = table->currentRow();
    if (r < 0 || r >= table->rowCount())
        return;
    const QString name = cellText(table, r, 0);
    const QString text = kind == BoxKind::Camera ? QStringLiteral("删除成功,参数名为：")
                                                 : QStringLiteral("删除成功,算法参数名为：");
    for (const station::Parameter &parameter : editors::entryView(kind, box.entryObj).parameters)
        if (parameter.name == name)
            qDebug().noquote() << text + name;
    table->removeRow(r);
}

void QtParameterSettings::saveProgramObj()
{
    QVector<QJsonValue> cameras;
    QVector<QJsonValue> algorithms;
    for (const CfgWindow &box : m_cameraBoxes)
        cameras << editors::rebuildEntry(BoxKind::Camera, box.entryObj, rowsOf(box.paramTable));
    for (const CfgWindow &box : m_algorithmBoxes)
        algorithms << editors::rebuildEntry(BoxKind::Algorithm, box.entryObj, rowsOf(box.paramTable));
    const editors::StationRebuild plan =
        editors::rebuildStations(m_doc.reference(), m_workingStations, cameras, algorithms);
    for (int i = 0; i < plan.changedKeys.size(); ++i)
        qDebug().noquote() << "QtParameterSettings::saveProgramObj" << " line:" << __LINE__
                           << (plan.changedKinds.at(i) == BoxKind::Camera ? " obj change,camerakey:"
                                                                          : " obj change,algorithmkey:")
                           << plan.changedKeys.at(i);

    QString error;
    const editors::SaveResult result = m_doc.save(plan.document, &error);
    if (!editors::reportSave(this, result, error) || result != editors::SaveResult::Written)
        return;

    m_workingStations = plan.stations;
    for (int i = 0; i < m_cameraBoxes.size(); ++i) {
        m_cameraBoxes[i].entryObj = cameras.at(i);
        markSaved(m_cameraBoxes[i].paramTable, BoxKind::Camera, cameras.at(i));
    }
    for (int i = 0; i < m_algorithmBoxes.size(); ++i) {
        m_algorithmBoxes[i].entryObj = algorithms.at(i);
        markSaved(m_algorithmBoxes[i].paramTable, BoxKind::Algorithm, algorithms.at(i));
    }
    emit reLoadJsonSetParameter(plan.changedKeys, m_doc.fileName());
}

void QtParameterSettings::toggleMaximized()
{
    QtFramelessWindow::toggleToolMaximized(this, &m_maximizeNext, [this] { QtFramelessWindow::placeTool(this); });
}
