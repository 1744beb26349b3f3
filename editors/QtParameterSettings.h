// Camera and algorithm parameter editor: one box per camera module and per algorithm,
// six boxes to a page, saved with a backup stamped at the load.
#pragma once

#include "EditorDocument.h"
#include "EditorRules.h"
#include "ui_QtParameterSettings.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QList>
#include <QMainWindow>

class QGridLayout;
class QGroupBox;
class QPushButton;
class QTableWidget;
class QtFramelessWindow;

// One parameter box.
struct CfgWindow
{
    QString stationName;
    QString moduleKey;
    QString boxTitle;
    QJsonValue entryObj; // the entry as shown, then as last saved
    QGroupBox *groupBox = nullptr;
    QTableWidget *paramTable = nullptr;
    QPushButton *addButton = nullptr;
    QPushButton *deleteButton = nullptr;
};

class QtParameterSettings : public QMainWindow
{
    Q_OBJECT
public:
    // programFolder: the folder holding "config/"; empty means the program's folder.
    explicit QtParameterSettings(QWidget *parent = nullptr, const QString &programFolder = QString());
    ~QtParameterSettings() override;

    QJsonObject load_camera_cfg(QString fileName);
    void initTabs(QJsonObject programObj);
    void setCameraTableWidget(int k, QString stationName, const QJsonValue &entry, QGridLayout *grid);
    void setAlgorithmTableWidget(int k, QString stationName, const QJsonValue &entry,
                                 QGridLayout *grid);
    void saveProgramObj();

    const QList<CfgWindow> &cameraBoxes() const { return m_cameraBoxes; }
    const QList<CfgWindow> &algorithmBoxes() const { return m_algorithmBoxes; }
    const editors::EditorDocument &document() const { return m_doc; }
    QJsonArray workingStations() const { return m_workingStations; }
    Ui::QtParameterSettingsClass &form() { return ui; }

signals:
    // After a save that wrote the document: the module keys to reload and the file written.
    void reLoadJsonSetParameter(QStringList moduleKeyList, QString fileName);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    // A deletion asked for while the pages are being built waits until they are.
    bool event(QEvent *event) override;

private:
    QTabWidget *newTabWidget(QGroupBox *group, QGridLayout *grid, const char *pageName,
                             const QString &groupTitle, const QString &style);
    void buildBoxes(editors::BoxKind kind, QTabWidget *tabs, const QList<station::Station> &stations);
    void addBox(editors::BoxKind kind, int k, const QString &stationName, const QJsonValue &entry,
                QGridLayout *grid);
    void deleteRow(editors::BoxKind kind, const CfgWindow &box);
    void clearBoxes();  // deletes the boxes' widgets, then forgets them
    void forgetBoxes(); // empties the lists and counts
    void toggleMaximized();

    Ui::QtParameterSettingsClass ui;
    editors::EditorDocument m_doc;
    QJsonObject m_shownObj;
    QJsonArray m_workingStations;
    int m_cameraCount = 0;
    int m_algorithmCount = 0;
    QList<CfgWindow> m_cameraBoxes;
    QList<CfgWindow> m_algorithmBoxes;
    QtFramelessWindow *m_frameless = nullptr;
    bool m_maximizeNext = true;
    bool m_building = false;
    bool m_deleteWhenBuilt = false;
};
