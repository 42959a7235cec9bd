#pragma once

#include <array>

#include <QDialog>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

/// The password window: asks for the unit's password, then locks or unlocks the unit and sets a
/// new password. The service code entered instead of the password toggles the service flag.
class FrmPassword : public QDialog
{
    Q_OBJECT
public:
    explicit FrmPassword(QWidget *parent = nullptr);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *BuildEntryPage();
    QWidget *BuildLockPage();
    QGroupBox *BuildLockFrame();
    QGroupBox *BuildNewPasswordFrame();
    QPushButton *AddCommand(int index, const QString &caption, QWidget *parent);
    void ShowPage(QWidget *page);
    void ShowLockState();

    void CheckEnteredPassword();
    void OpenNewPasswordFrame();
    void ShowChosenState();
    void ApplyLockChoice();
    void CheckFirstNewPassword();
    void ApplyNewPassword();

    QWidget *entryPage = nullptr;
    QWidget *lockPage = nullptr;
    QGroupBox *frame3 = nullptr;
    QGroupBox *frame1 = nullptr;
    QGroupBox *frame4 = nullptr;
    QLineEdit *text1 = nullptr;
    QLineEdit *text2 = nullptr;
    QLineEdit *text3 = nullptr;
    QCheckBox *check1 = nullptr;
    QLabel *label2 = nullptr;
    QLabel *label3 = nullptr;
    std::array<QPushButton *, 6> command1{};
};
