// Defect classes and names ("缺陷类别名称设置"), checked and saved with a backup.
#pragma once

#include "EditorDocument.h"
#include "EditorRules.h"
#include "ui_QtDefectSet.h"

#include <QMainWindow>

class QtFramelessWindow;

class QtDefectSet : public QMainWindow
{
    Q_OBJECT
public:
    // programFolder: the folder holding "config/"; empty means the program's folder.
    explicit QtDefectSet(QWidget *parent = nullptr, const QString &programFolder = QString());
    ~QtDefectSet() override;

    void setData(QString fileName);
    QJsonObject load_camera_cfg(QString fileName);
    // The buttons' actions.
    void addLine();
    void deleteLine();
    void save();

    const editors::EditorDocument &document() const { return m_doc; }
    Ui::QtDefectSet &form() { return ui; }

signals:
    // After a save that wrote the document: the module keys to reload and the file written.
    void reLoadJsonSetParameter(QStringList moduleKeyList, QString fileName);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    void appendRow(const editors::DefectRow &row);
    void setSerial(int r, const QString &text);
    QVector<editors::DefectRow> rows() const;

    Ui::QtDefectSet ui;
    editors::EditorDocument m_doc;
    QtFramelessWindow *m_frameless = nullptr;
};
