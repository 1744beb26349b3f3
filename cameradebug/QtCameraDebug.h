// Camera debug tool: picks a configuration document, lists its cameras, connects each
// through its own copy of the camera module, sets parameters, exposure and gain, grabs
// single or continuous images into a zoomable view, saves them, and writes edited camera
// parameters back. Frameless window; closing hides it and releases every camera.
#pragma once

#include "BitmapWriter.h"
#include "CameraConfig.h"
#include "CameraModule.h"
#include "CameraRules.h"
#include "ui_QtCameraDebug.h"

#include <QMainWindow>

#include <memory>
#include <vector>

class QtFramelessWindow;
class QGraphicsScene;
class QImageWidget;
class QTimer;

// One camera of the opened document, and its camera object while connected (released
// through the destroy function of the module that created it).
struct CameraModuleRecord
{
    std::unique_ptr<CameraModule, CameraModule_DestroyFunc> module{nullptr, nullptr};
    CameraParams myParasValueMap;
    QString cameraKey;
};

class QtCameraDebug : public QMainWindow
{
    Q_OBJECT
public:
    // programFolder: folder holding the camera module library and config/; empty means the
    // program's folder. Shows itself.
    explicit QtCameraDebug(QWidget *parent = nullptr, const QString &programFolder = QString());
    ~QtCameraDebug() override;

    // Document side.
    void listConfigFiles();
    QJsonObject load_cameraList(const QString &fileName);
    void openCameraCfg(const QString &fileName);
    void showCameraParams();
    bool applyCameraParams();
    // Writes changed parameter values back; a failure is shown in a box and gives false.
    bool saveCameraCfg();

    // Camera objects.
    bool createModule();
    bool closeCameraModel(int myIndex);

    // Images.
    void decodeImage(QString name, cv::Mat mtx);
    void showImage(QString name, const QImage &image);

    // State, for the main window and tests.
    const std::vector<CameraModuleRecord> &cameraRecords() const { return m_records; }
    const CameraModuleRecord &currentRecord() const { return m_currentRecord; }
    QString cameraTypeText() const { return m_cameraTypeText; }
    int typeCode() const { return m_typeCode; }
    bool continuousGrabRunning() const { return m_continuous; }
    QImageWidget *shownItem() const { return m_item; }
    BitmapWriter &bitmapWriter() { return *m_writer; }
    // Camera number of the selected camera list row, or -1.
    int selectedCamera() const;

signals:
    void QtCameraDebug_done();

protected:
    void closeEvent(QCloseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void setUpTables();
    void restoreLastConfig();
    void writeLastConfig(const QString &fileName);
    QVector<QPair<QString, QString>> parameterRows() const;
    bool checkParamRows(QMap<QString, QString> *map);
    void setModuleButtons(bool connected);

    // Control actions.
    void chooseConfiguration(const QString &fileName);
    void selectCamera(int row);
    void connectCamera();
    void grabOne();
    void toggleContinuous();
    void continuousStep();
    void disconnectCamera();
    void saveParameters();
    void setExposureGain();
    void saveSwitchClicked(bool checked);
    void chooseSaveFolder();
    void toggleMaximized();

    // Destroys every camera object held, stops the continuous grab, writes changes back.
    void releaseAllCameras(bool reportFailure);
    void writeFailed(const QString &path, const QString &reason);
    void info(const QString &title, const QString &text);

    Ui::QtCameraDebugClass ui;
    QString m_programFolder;
    QtFramelessWindow *m_frameless = nullptr;
    bool m_maximizeNext = true;

    CameraConfig m_config;
    bool hasRecord(int n) const { return n >= 0 && n < int(m_records.size()); }

    std::vector<CameraModuleRecord> m_records;
    CameraModuleRecord m_currentRecord; // the shown camera's values; never holds an object
    int m_shownCamera = -1; // camera whose parameters the table shows
    int m_shownRow = -1;    // and its camera list row
    QString m_cameraTypeText;
    bool m_paramsMismatch = true;
    bool m_listLoading = false;
    bool m_firstSelection = true;
    bool m_reportSaveFailures = true;
    int cameraIndex = 0;
    int m_typeCode = -1;

    QTimer *m_grabTimer = nullptr;
    bool m_continuous = false;
    bool m_inStep = false;

    QString m_imageFolder;
    camerarules::SaveNamer m_namer;
    std::unique_ptr<BitmapWriter> m_writer;
    bool m_queueFullWarned = false;

    QGraphicsScene *m_scene = nullptr;
    QImageWidget *m_item = nullptr;
    int m_viewWidth = 0;
    int m_viewHeight = 0;
};
