// Login window: login by role, user name and password; account management unlocked by
// the super user's password. Move-only frameless window.
#pragma once

#include "PasswordStore.h"
#include "ui_QtPassword.h"

#include <QMainWindow>

class QtFramelessWindow;

class QtPassword : public QMainWindow
{
    Q_OBJECT
public:
    // programFolder: folder holding "config/password.json"; empty means the program's folder.
    explicit QtPassword(QWidget *parent = nullptr, const QString &programFolder = QString());
    ~QtPassword() override;

    const PasswordStore &store() const { return m_store; }
    bool isUnlocked() const { return m_unlocked; }
    // Writes the accounts; reports a failure in a box. Returns whether the file was written.
    bool saveUsers();

signals:
    void LoginSuccess(QString authority_user);

public slots:
    void boxIndexChanged(int index);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void fillUserBox(QComboBox *box, PasswordStore::Role role);
    void login();
    void unlock();
    void chooseManagementRole(bool admin);
    void chooseFunction(QCheckBox *box);
    void addAccount();
    void deleteAccount();
    void finish();
    void lock();
    void reportBrokenDocument();
    void wrongLoginPassword();
    void wrongUnlockPassword();
    void reportSaveFailure(const QString &error);
    PasswordStore::Role managementRole() const;

    Ui::QtPasswordClass ui;
    PasswordStore m_store;
    QtFramelessWindow *m_frameless = nullptr;
    bool m_unlocked = false;
    bool m_brokenReported = false;
};
