#include "QtCameraDebug.h"

#include "DocumentFile.h"
#include "ImageConvert.h"
#include "Platform.h"
#include "QImageWidget.h"
#include "QtFramelessWindow.h"
#include "Styles.h"
#include "ScrollBars.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QGraphicsScene>
#include <QHeaderView>
#include <QJsonDocument>
#include <QLibrary>
#include <QMessageBox>
#include <QTimer>

#include <iostream>

using namespace camerarules;

namespace {

const QString kLastConfigName = QStringLiteral("cameraDebug_lastCfg.json");
const QString kImageName = QStringLiteral("m_PbGlobalObject.module_key");

// A bare document name from the last-config file: no folder part.
bool isBareFileName(const QString &name)
{
    return !name.isEmpty() && !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\'))
           && name != QLatin1String("..") && !name.startsWith(QLatin1Char('.'));
}

} // namespace

QtCameraDebug::QtCameraDebug(QWidget *parent, const QString &programFolder)
    : QMainWindow(parent),
      m_programFolder(programFolder.isEmpty() ? platform::programFolder() : programFolder)
{
    ui.setupUi(this);
    setStyleSheet(QStringLiteral("background-color: rgb(0, 0, 0);"));

    m_frameless = QtFramelessWindow::dialog(this, 2);
    m_frameless->setTitle(ui.title, ui.pushButton_min, ui.pushButton_max, ui.pushButton_close);
    ui.frame->setMouseTracking(true);

    QtFramelessWindow::styleTitle(ui.label_icon, ui.pushButton_min, ui.pushButton_max, ui.pushButton_close);
    connect(ui.pushButton_min, &QPushButton::clicked, m_frameless, &QtFramelessWindow::minimizeWindow);
    connect(ui.pushButton_close, &QPushButton::clicked, m_frameless, &QtFramelessWindow::closeWindow);

    const QSize screen = QtFramelessWindow::screenSize();
    qDebug().noquote() << "Screen resolution: " << screen.width() << "x" << screen.height();
    connect(ui.pushButton_max, &QPushButton::clicked, this, &QtCameraDebug::toggleMaximized);
    setWindowFlags(Qt::FramelessWindowHint);
    styleScrollBars(ui.scrollArea); // the contents scroll where the screen is small
    QtFramelessWindow::placeTool(this);

    m_writer = std::make_unique<BitmapWriter>();
    connect(m_writer.get(), &BitmapWriter::writeFailed, this, &QtCameraDebug::writeFailed,
            Qt::QueuedConnection);

    ui.pushButton_initModel->setStyleSheet(styles::toolIconButton(QStringLiteral("1.1.添加图形.png")));
    ui.pushButton_GetImage->setStyleSheet(styles::toolIconButton(QStringLiteral("5.单样本.png")));
    ui.pushButton_GetImage_Aways->setStyleSheet(styles::toolIconButton(QStringLiteral("4.1.项目运行.png")));
    ui.pushButton_closeModel->setStyleSheet(styles::toolIconButton(QStringLiteral("16.1.关闭.png")));
    connect(ui.pushButton_initModel, &QPushButton::clicked, this, &QtCameraDebug::connectCamera);
    connect(ui.pushButton_GetImage, &QPushButton::clicked, this, &QtCameraDebug::grabOne);
    m_grabTimer = new QTimer(this);
    connect(m_grabTimer, &QTimer::timeout, this, &QtCameraDebug::continuousStep);
    connect(ui.pushButton_GetImage_Aways, &QPushButton::clicked, this, &QtCameraDebug::toggleContinuous);
    connect(ui.pushButton_closeModel, &QPushButton::clicked, this, &QtCameraDebug::disconnectCamera);
    m_scene = new QGraphicsScene(this);

    setUpTables();
    ui.pushButton_saveCamera->setStyleSheet(styles::darkButton());
    connect(ui.pushButton_saveCamera, &QPushButton::clicked, this, &QtCameraDebug::saveParameters);
    connect(ui.tableWidget_2, &QTableWidget::cellClicked, this,
            [this](int row, int) { selectCamera(row); });
    // Keyboard moves of the selection select that camera as a click does.
    connect(ui.tableWidget_2, &QTableWidget::itemSelectionChanged, this, [this] {
        const QModelIndexList rows = ui.tableWidget_2->selectionModel()->selectedRows();
        if (!rows.isEmpty() && rows.first().row() != m_shownRow)
            selectCamera(rows.first().row());
    });

    // Exposure and gain texts are sent to the camera: C locale everywhere.
    ui.spinBox->setLocale(QLocale::c());
    ui.doubleSpinBox->setLocale(QLocale::c());

    listConfigFiles();
    show();
    restoreLastConfig();
    connect(ui.comboBox, &QComboBox::currentTextChanged, this, &QtCameraDebug::chooseConfiguration);

    setModuleButtons(false);
    ui.pushButton_initModel->setEnabled(false);

    ui.pushButton->setStyleSheet(styles::darkButton());
    connect(ui.pushButton, &QPushButton::clicked, this, &QtCameraDebug::chooseSaveFolder);
    connect(ui.checkBox, &QCheckBox::clicked, this, &QtCameraDebug::saveSwitchClicked);
    ui.pushButton_set->setStyleSheet(styles::darkButton());
    connect(ui.pushButton_set, &QPushButton::clicked, this, &QtCameraDebug::setExposureGain);
}

QtCameraDebug::~QtCameraDebug()
{
    m_grabTimer->stop();
    releaseAllCameras(false);
    platform::sleepMs(10);
    m_writer.reset(); // writes what is still queued
    m_scene->clear();
    m_item = nullptr;
}

void QtCameraDebug::setUpTables()
{
    QTableWidget *params = ui.tableWidget;
    params->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);
    params->setColumnCount(2);
    params->setMouseTracking(true);
    params->setSelectionBehavior(QAbstractItemView::SelectRows);
    params->horizontalHeader()->setSectionsClickable(false);
    params->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    params->horizontalHeader()->setStyleSheet(styles::greyHeader());
    params->verticalHeader()->setHidden(true);

    QTableWidget *cameras = ui.tableWidget_2;
    cameras->setColumnCount(1);
    cameras->setMouseTracking(true);
    cameras->setSelectionBehavior(QAbstractItemView::SelectRows);
    cameras->setSelectionMode(QAbstractItemView::SingleSelection);
    cameras->setEditTriggers(QAbstractItemView::NoEditTriggers);
    cameras->horizontalHeader()->setSectionsClickable(false);
    cameras->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    cameras->horizontalHeader()->setStyleSheet(styles::greyHeader());
    cameras->horizontalHeader()->setHidden(true);
    cameras->verticalHeader()->setHidden(true);
}

// ---- configuration documents -------------------------------------------------------------

void QtCameraDebug::listConfigFiles()
{
    ui.comboBox->clear();
    const QFileInfoList files = QDir(m_programFolder + QStringLiteral("/config"))
                                    .entryInfoList({QStringLiteral("*.json")},
                                                   QDir::Files | QDir::Readable, QDir::Name);
    for (const QFileInfo &file : files)
        if (file.fileName() != kLastConfigName && CameraConfig::isCameraDocumentFile(file.filePath()))
            ui.comboBox->addItem(file.fileName());
}

void QtCameraDebug::restoreLastConfig()
{
    const QString path = CameraConfig::documentPath(m_programFolder, kLastConfigName);
    const docfile::ReadResult file = docfile::read(path);
    if (file.status == docfile::ReadStatus::Missing || (file.ok() && file.bytes.trimmed().isEmpty())) {
        // No last choice: the document the combo box shows is the one opened and remembered.
        const QString shown = ui.comboBox->currentText();
        if (!shown.isEmpty()) {
            writeLastConfig(shown);
            openCameraCfg(shown);
        } else if (file.status == docfile::ReadStatus::Missing) {
            QString error;
            if (!docfile::write(path, QByteArray(), &error))
                qWarning().noquote() << "QtCameraDebug::restoreLastConfig" << " line:" << __LINE__ << error;
        }
        return;
    }
    const QJsonDocument doc = QJsonDocument::fromJson(file.bytes);
    if (!doc.isObject())
        return;
    const QString name = doc.object().value(QStringLiteral("上次打开")).toString();
    if (!isBareFileName(name) || !name.contains(QLatin1String(".json")))
        return;
    const int index = ui.comboBox->findText(name);
    if (index < 0)
        return; // gone, or not a camera configuration document
    ui.comboBox->setCurrentIndex(index);
    openCameraCfg(name);
}

void QtCameraDebug::writeLastConfig(const QString &fileName)
{
    QJsonObject last;
    last.insert(QStringLiteral("上次打开"), fileName);
    QString error;
    if (!docfile::write(CameraConfig::documentPath(m_programFolder, kLastConfigName),
                        QJsonDocument(last).toJson(QJsonDocument::Indented), &error))
        qWarning().noquote() << "QtCameraDebug::writeLastConfig" << " line:" << __LINE__ << error;
}

QJsonObject QtCameraDebug::load_cameraList(const QString &fileName)
{
    return m_config.load(m_programFolder, fileName);
}

void QtCameraDebug::openCameraCfg(const QString &fileName)
{
    cameraIndex = 0;
    ui.tableWidget->setRowCount(0);
    ui.tableWidget_2->setRowCount(0);
    m_shownRow = -1;
    m_shownCamera = -1;
    if (load_cameraList(fileName).isEmpty())
        return;

    m_listLoading = true;
    for (const CameraEntry &camera : m_config.cameras()) {
        CameraModuleRecord record;
        record.myParasValueMap = camera.params;
        m_records.push_back(std::move(record));

        QString rowText;
        if (const CameraType *type = typeForCode(camera.typeCode)) {
            m_cameraTypeText = type->typeText;
            (type->listBox == Trigger::Hard ? ui.checkBox_hard : ui.checkBox_soft)->setChecked(true);
            rowText = cameraRowText(cameraIndex, m_cameraTypeText, ui.checkBox_hard->isChecked(),
                                    ui.checkBox_soft->isChecked());
        } else {
            // No type: the row names none, so the camera cannot be connected.
            info(QStringLiteral("失败"), QStringLiteral("匹配失败"));
            m_cameraTypeText.clear();
            rowText = cameraRowText(cameraIndex, QString(), false, false);
        }
        const int row = ui.tableWidget_2->rowCount();
        ui.tableWidget_2->insertRow(row);
        ui.tableWidget_2->setItem(row, 0, new QTableWidgetItem(rowText));
        ++cameraIndex;
    }
    m_listLoading = false;
}

void QtCameraDebug::showCameraParams()
{
    QTableWidget *table = ui.tableWidget;
    const CameraParams &map = m_currentRecord.myParasValueMap;
    table->setRowCount(1);
    table->setItem(0, 0, new QTableWidgetItem(QStringLiteral("相机key")));
    table->setItem(0, 1, new QTableWidgetItem(map.value(QStringLiteral("相机key"))));
    table->setHorizontalHeaderLabels({QStringLiteral("参数名"), QStringLiteral("参数值")});
    m_currentRecord.cameraKey = map.value(QStringLiteral("相机key"));
    for (auto it = map.constBegin(); it != map.constEnd(); ++it) {
        if (it.key() == QStringLiteral("相机key") || it.key() == QLatin1String("type"))
            continue;
        const int row = table->rowCount();
        table->insertRow(row);
        table->setItem(row, 0, new QTableWidgetItem(it.key()));
        table->setItem(row, 1, new QTableWidgetItem(it.value()));
    }
}

QVector<QPair<QString, QString>> QtCameraDebug::parameterRows() const
{
    QVector<QPair<QString, QString>> rows;
    for (int r = 0; r < ui.tableWidget->rowCount(); ++r) {
        const QTableWidgetItem *name = ui.tableWidget->item(r, 0);
        const QTableWidgetItem *value = ui.tableWidget->item(r, 1);
        rows.append({name ? name->text() : QString(), value ? value->text() : QString()});
    }
    return rows;
}

bool QtCameraDebug::checkParamRows(QMap<QString, QString> *map)
{
    switch (parseParamRows(parameterRows(), map)) {
    case ParamCheck::EmptyCell:
        info(QStringLiteral("相机参数错误"), QStringLiteral("相机参数名或参数值为空"));
        return false;
    case ParamCheck::NoSerial:
        info(QStringLiteral("相机key参数错误"), QStringLiteral("未输入SN"));
        return false;
    case ParamCheck::Ok:
        break;
    }
    return true;
}

bool QtCameraDebug::applyCameraParams()
{
    if (m_paramsMismatch)
        return true;
    QMap<QString, QString> map;
    if (!checkParamRows(&map))
        return false;
    m_currentRecord.myParasValueMap = map;
    m_currentRecord.cameraKey = map.value(QStringLiteral("相机key"));
    return true;
}

bool QtCameraDebug::saveCameraCfg()
{
    QList<CameraParams> maps;
    for (const CameraModuleRecord &record : m_records)
        maps.append(record.myParasValueMap);
    QString error;
    const CameraConfig::SaveResult result = m_config.save(maps, &error);
    if (result != CameraConfig::SaveResult::Failed && result != CameraConfig::SaveResult::Conflict)
        return true;
    qCritical().noquote() << "QtCameraDebug::saveCameraCfg" << " line:" << __LINE__ << error;
    if (!m_reportSaveFailures)
        return false;
    if (result == CameraConfig::SaveResult::Conflict)
        info(QStringLiteral("失败"), QStringLiteral("相机参数已被其它窗口或程序修改，本次未保存：\n") + error
                                       + QStringLiteral("\n请重新打开该配置文件后再修改。"));
    else
        info(QStringLiteral("失败"), QStringLiteral("相机参数写入配置文件失败：\n") + error);
    return false;
}

// ---- camera objects ----------------------------------------------------------------------

bool QtCameraDebug::createModule()
{
    m_typeCode = -1;
    m_typeCode = codeForTypeText(m_cameraTypeText, ui.checkBox_hard->isChecked(),
                                 ui.checkBox_soft->isChecked());
    if (m_typeCode < 0) {
        info(QStringLiteral("失败"), QStringLiteral("加载默认相机参数失败"));
        return false;
    }
    QString copyPath, error;
    if (!prepareModuleCopy(m_programFolder, cameraIndex, &copyPath, &error)) {
        qDebug().noquote() << "QtCameraDebug::createModule" << __LINE__ << "  Copy error:" << error;
        return false;
    }
    QLibrary library(copyPath); // stays loaded until the process ends
    if (!library.load()) {
        qDebug().noquote() << "QtCameraDebug::createModule" << __LINE__
                           << "  Loaded error:" << library.errorString();
        return false;
    }
    auto create = reinterpret_cast<CameraModule_CreateFunc>(library.resolve("create"));
    auto destroy = reinterpret_cast<CameraModule_DestroyFunc>(library.resolve("destory"));
    if (!create || !destroy)
        return false;
    CameraModule *camera = create(m_typeCode);
    if (!camera) {
        qDebug().noquote() << "QtCameraDebug::createModule" << __LINE__ << "  create gave no object"
                           << m_typeCode;
        return false;
    }
    camera->id = cameraIndex;
    std::unique_ptr<CameraModule, CameraModule_DestroyFunc> object(camera, destroy);
    if (!hasRecord(cameraIndex))
        return false;
    m_records[cameraIndex].module = std::move(object);
    applyCameraParams();
    return true;
}

bool QtCameraDebug::closeCameraModel(int myIndex)
{
    m_paramsMismatch = true;
    if (!hasRecord(myIndex))
        return false;
    m_records[myIndex].module.reset();
    qDebug().noquote() << "closeModel(myIndex)::" << true;
    saveCameraCfg();
    m_paramsMismatch = false;
    return true;
}

void QtCameraDebug::releaseAllCameras(bool reportFailure)
{
    if (m_continuous)
        toggleContinuous();
    bool released = false;
    for (CameraModuleRecord &record : m_records) {
        if (!record.module)
            continue;
        record.module.reset();
        released = true;
    }
    if (released) {
        m_reportSaveFailures = reportFailure;
        saveCameraCfg();
        m_reportSaveFailures = true;
    }
}

int QtCameraDebug::selectedCamera() const
{
    const QModelIndexList rows = ui.tableWidget_2->selectionModel()->selectedRows();
    if (rows.isEmpty())
        return -1;
    const QTableWidgetItem *item = ui.tableWidget_2->item(rows.first().row(), 0);
    return item ? cameraNumber(item->text()) : -1;
}

// ---- images ------------------------------------------------------------------------------

void QtCameraDebug::decodeImage(QString name, cv::Mat mtx)
{
    if (mtx.empty())
        return;
    if (!imageconvert::isWellFormed(mtx)) {
        qCritical().noquote() << "QtCameraDebug::decodeImage" << " line:" << __LINE__
                              << " mtx.dataend - mtx.datastart  err！！:";
        return;
    }
    bool queueFull = false;
    const QString folder = ui.lineEdit->text();
    if (ui.checkBox->isChecked() && !folder.isEmpty()) {
        const QString path = m_namer.next(folder, platform::localNow(), mtx.type());
        switch (m_writer->enqueue(mtx, name, path)) {
        case BitmapWriter::Enqueue::Queued:
            m_queueFullWarned = false;
            break;
        case BitmapWriter::Enqueue::Full:
            queueFull = !m_queueFullWarned;
            m_queueFullWarned = true;
            if (m_continuous)
                toggleContinuous();
            break;
        case BitmapWriter::Enqueue::Stopped:
            break; // the failure has been reported
        }
    }

    QImage image;
    try {
        image = imageconvert::toQImage(mtx);
    } catch (const QString &ev) {
        qCritical().noquote() << "QtCameraDebug::decodeImage" << " line:" << __LINE__ << " ev:" << ev;
    }
    if (!image.isNull()) {
        m_viewWidth = ui.graphicsView->width();
        m_viewHeight = ui.graphicsView->height();
        showImage(name, image);
    } else {
        qWarning().noquote() << "QtCameraDebug::decodeImage" << " line:" << __LINE__
                             << " no conversion for matrix type" << mtx.type();
    }
    if (queueFull)
        info(QStringLiteral("警告"), QStringLiteral("存图队列>100,内存溢出风险"));
}

void QtCameraDebug::showImage(QString, const QImage &image)
{
    m_scene->clear();
    m_item = new QImageWidget(QPixmap::fromImage(image));
    m_item->fitToView(m_viewWidth, m_viewHeight);
    m_scene->addItem(m_item);
    ui.graphicsView->setSceneRect(-(m_viewWidth / 2), -(m_viewHeight / 2), m_viewWidth, m_viewHeight);
    ui.graphicsView->setScene(m_scene);
    ui.graphicsView->setFocus();
}

void QtCameraDebug::writeFailed(const QString &path, const QString &reason)
{
    ui.checkBox->setChecked(false);
    info(QStringLiteral("错误"), QStringLiteral("保存图像失败，已停止保存：\n") + path
                                     + QStringLiteral("\n") + reason);
}

// ---- control actions ---------------------------------------------------------------------

void QtCameraDebug::setModuleButtons(bool connected)
{
    ui.pushButton_initModel->setEnabled(!connected);
    ui.pushButton_GetImage->setEnabled(connected);
    ui.pushButton_GetImage_Aways->setEnabled(connected);
    ui.pushButton_closeModel->setEnabled(connected);
}

void QtCameraDebug::chooseConfiguration(const QString &fileName)
{
    m_paramsMismatch = true;
    ui.tableWidget->setRowCount(0);
    if (!m_listLoading)
        m_paramsMismatch = false;
    writeLastConfig(fileName);
    ui.pushButton_closeModel->click();
    releaseAllCameras(true);
    m_records.clear();
    m_currentRecord = CameraModuleRecord();
    openCameraCfg(fileName);
}

void QtCameraDebug::selectCamera(int row)
{
    m_paramsMismatch = true;
    const QTableWidgetItem *item = row < 0 ? nullptr : ui.tableWidget_2->item(row, 0);
    if (!item)
        return;
    const QString text = item->text();
    switch (rowTrigger(text)) {
    case Trigger::Hard:
        ui.checkBox_hard->setChecked(true);
        break;
    case Trigger::Soft:
        ui.checkBox_soft->setChecked(true);
        break;
    case Trigger::Any:
        break;
    }
    m_cameraTypeText = rowTypeText(text);
    const int n = cameraNumber(text);
    if (!hasRecord(n))
        return;
    m_currentRecord.myParasValueMap = m_records.at(n).myParasValueMap;
    m_currentRecord.cameraKey = m_records.at(n).cameraKey;
    showCameraParams();
    m_shownCamera = n;
    m_shownRow = row;
    m_paramsMismatch = false;
    if (m_firstSelection) {
        ui.pushButton_initModel->setEnabled(true);
        m_firstSelection = false;
    }
    QImage placeholder(100, 100, QImage::Format_RGB888);
    placeholder.fill(Qt::black);
    showImage(QStringLiteral("null"), placeholder);
    ui.pushButton_closeModel->click();
}

void QtCameraDebug::connectCamera()
{
    setModuleButtons(true);
    QMap<QString, QString> params;
    if (!checkParamRows(&params)) {
        setModuleButtons(false);
        return;
    }
    const int n = selectedCamera();
    if (!hasRecord(n) || n != m_shownCamera) {
        info(QStringLiteral("失败"), QStringLiteral("初始化失败，未选择相机"));
        setModuleButtons(false);
        return;
    }
    if (!m_records.at(n).module) {
        cameraIndex = n;
        if (!createModule()) {
            info(QStringLiteral("失败"), QStringLiteral("加载默认参数失败！"));
            setModuleButtons(false);
            return;
        }
        CameraModuleRecord &record = m_records[n];
        record.myParasValueMap = m_currentRecord.myParasValueMap;
        record.cameraKey = m_currentRecord.cameraKey;
    }
    CameraModule *camera = m_records.at(n).module.get();
    camera->setParams(params);
    qDebug().noquote() << "id::" << camera->id;
    if (!camera->init()) {
        info(QStringLiteral("失败"), QStringLiteral("相机模块初始化失败！"));
        setModuleButtons(false);
    }
}

void QtCameraDebug::grabOne()
{
    QElapsedTimer timer;
    timer.start();
    const int n = selectedCamera();
    if (!hasRecord(n) || !m_records.at(n).module)
        return;
    CameraModule *camera = m_records.at(n).module.get();
    std::vector<cv::Mat> images;
    QStringList texts;
    const bool triggered = camera->setData(images, texts);
    std::cout << "setData Time::" << timer.restart() << std::endl;
    if (!triggered)
        return;
    camera->data(images, texts);
    std::cout << "data Time::" << timer.restart() << std::endl;
    if (!images.empty())
        decodeImage(kImageName, images.front());
    std::cout << "decodeImage Time::" << timer.restart() << std::endl;
}

void QtCameraDebug::toggleContinuous()
{
    if (!m_continuous) {
        ui.pushButton_GetImage->setEnabled(false);
        m_grabTimer->start(1);
        ui.label_GetImage_Aways->setText(QStringLiteral("循环获取图像-停止"));
        ui.pushButton_GetImage_Aways->setStyleSheet(styles::toolIconButton(QStringLiteral("4.6.项目运行.png")));
        m_continuous = true;
    } else {
        ui.pushButton_GetImage->setEnabled(true);
        m_grabTimer->stop();
        ui.label_GetImage_Aways->setText(QStringLiteral("循环获取图像-开始"));
        ui.pushButton_GetImage_Aways->setStyleSheet(styles::toolIconButton(QStringLiteral("4.1.项目运行.png")));
        m_continuous = false;
    }
}

void QtCameraDebug::continuousStep()
{
    if (!m_continuous || m_inStep)
        return;
    const int n = selectedCamera();
    if (!hasRecord(n) || !m_records.at(n).module)
        return;
    m_inStep = true;
    CameraModule *camera = m_records.at(n).module.get();
    std::vector<cv::Mat> images;
    QStringList texts;
    if (camera->setData(images, texts)) {
        camera->data(images, texts);
        if (!images.empty())
            decodeImage(kImageName, images.front());
    }
    images.clear();
    QCoreApplication::processEvents();
    m_inStep = false;
}

void QtCameraDebug::disconnectCamera()
{
    if (m_continuous)
        toggleContinuous();
    setModuleButtons(false);
    const int n = selectedCamera();
    if (n < 0)
        return;
    if (!closeCameraModel(n))
        info(QStringLiteral("失败"), QStringLiteral("卸载模块失败"));
}

void QtCameraDebug::saveParameters()
{
    QCoreApplication::processEvents();
    if (m_paramsMismatch) {
        info(QStringLiteral("失败"), QStringLiteral("不匹配，保存参数失败！"));
        return;
    }
    const int n = selectedCamera();
    if (!hasRecord(n)) {
        info(QStringLiteral("失败"), QStringLiteral("未选择相机，保存参数失败！"));
        return;
    }
    if (n != m_shownCamera) {
        info(QStringLiteral("失败"), QStringLiteral("不匹配，保存参数失败！"));
        return;
    }
    if (!applyCameraParams())
        return;
    m_records[n].myParasValueMap = m_currentRecord.myParasValueMap;
    m_records[n].cameraKey = m_currentRecord.cameraKey;
    saveCameraCfg();
}

void QtCameraDebug::setExposureGain()
{
    const int n = selectedCamera();
    if (n < 0)
        return;
    QStringList commands = exposureGainCommands(ui.spinBox->value(), ui.doubleSpinBox->value(),
                                                ui.doubleSpinBox->decimals());
    if (hasRecord(n) && m_records.at(n).module) {
        std::vector<cv::Mat> images;
        m_records.at(n).module->setData(images, commands);
    } else {
        info(QStringLiteral("错误"), QStringLiteral("相机未初始化"));
    }
}

void QtCameraDebug::saveSwitchClicked(bool checked)
{
    if (!checked)
        return;
    if (ui.lineEdit->text().isEmpty()) {
        info(QStringLiteral("错误"), QStringLiteral("保存图像路径为空，请先选择路径"));
        ui.checkBox->setChecked(false);
        return;
    }
    m_writer->resume();
    m_queueFullWarned = false;
}

void QtCameraDebug::chooseSaveFolder()
{
    m_imageFolder = QFileDialog::getExistingDirectory(
        this, QStringLiteral("选择图片文件夹"), QStringLiteral("/"),
        QFileDialog::ShowDirsOnly | QFileDialog::DontResolveSymlinks);
    if (m_imageFolder.isEmpty() && !ui.lineEdit->text().isEmpty())
        m_imageFolder = ui.lineEdit->text();
    ui.lineEdit->setText(m_imageFolder);
    if (m_imageFolder.isEmpty())
        ui.checkBox->setChecked(false);
}

void QtCameraDebug::toggleMaximized()
{
    QtFramelessWindow::toggleToolMaximized(this, &m_maximizeNext, [this] { QtFramelessWindow::placeTool(this); });
}

void QtCameraDebug::closeEvent(QCloseEvent *event)
{
    ui.pushButton_closeModel->click();
    releaseAllCameras(true);
    platform::sleepMs(10);
    emit QtCameraDebug_done();
    event->accept();
}

void QtCameraDebug::info(const QString &title, const QString &text)
{
    QMessageBox::information(this, title, text);
}

void QtCameraDebug::mousePressEvent(QMouseEvent *event)
{
    m_frameless->mousePressEvent(event);
}

void QtCameraDebug::mouseMoveEvent(QMouseEvent *event)
{
    m_frameless->mouseMoveEvent(event);
}

void QtCameraDebug::mouseReleaseEvent(QMouseEvent *event)
{
    m_frameless->mouseReleaseEvent(event);
}
