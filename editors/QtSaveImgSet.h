// Per-camera image-saving switches ("存图设置"), saved with a backup when they change.
#pragma once

#include "EditorDocument.h"
#include "EditorRules.h"
#include "ui_QtSaveImgSet.h"

#include <QJsonArray>
#include <QMainWindow>

class QtFramelessWindow;

class QtSaveImgSet : public QMainWindow
{
    Q_OBJECT
public:
    // programFolder: the folder holding "config/"; empty means the program's folder.
    explicit QtSaveImgSet(QWidget *parent = nullptr, const QString &programFolder = QString());
    ~QtSaveImgSet() override;

    void initTable(QString fileName);
    QJsonObject load_camera_cfg(QString fileName);
    // The save button's action.
    void save();

    const editors::EditorDocument &document() const { return m_doc; }
    Ui::QtSaveImgSetClass &form() { return ui; }

signals:
    // After a save that wrote the document: the module keys to reload and the file written.
    void reLoadJsonSetParameter(QStringList moduleKeyList, QString fileName);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    Ui::QtSaveImgSetClass ui;
    QStringList m_headers;
    editors::EditorDocument m_doc;
    QStringList m_algorithmNames; // of the document as last loaded
    QVector<editors::SaveImgRow> m_rows; // what each row came from, in row order
    QtFramelessWindow *m_frameless = nullptr;
};
