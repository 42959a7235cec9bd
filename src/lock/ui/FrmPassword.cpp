#include "lock/ui/FrmPassword.h"

#include <QCheckBox>
#include <QEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "lock/ModLock.h"

namespace {

/// A control of the window, found by its name.
template<class Control, class... Args> Control *Named(const QString &name, Args &&...args)
{
    auto *control = new Control(std::forward<Args>(args)...);
    control->setObjectName(name);
    return control;
}

QLineEdit *PasswordBox(const QString &name, QWidget *parent)
{
    auto *box = Named<QLineEdit>(name, parent);
    box->setEchoMode(QLineEdit::Password);
    box->setMinimumWidth(120);
    return box;
}

/// Buttons on the right, as the operator expects them under a form.
QHBoxLayout *ButtonRow(std::initializer_list<QPushButton *> buttons)
{
    auto *row = new QHBoxLayout;
    row->addStretch();
    for (QPushButton *button : buttons)
        row->addWidget(button);
    return row;
}

} // namespace

FrmPassword::FrmPassword(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FrmPassword"));
    setWindowTitle(QStringLiteral("Password"));
    entryPage = BuildEntryPage();
    lockPage = BuildLockPage();
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(entryPage);
    layout->addWidget(lockPage);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    frame3->setEnabled(true);
    frame1->setEnabled(false);
    frame4->setEnabled(false);
    check1->setChecked(ModLock::state.LockState == 1);
    ShowLockState();
    ShowChosenState();
    ShowPage(entryPage);
}

QPushButton *FrmPassword::AddCommand(int index, const QString &caption, QWidget *parent)
{
    auto *button = Named<QPushButton>(QStringLiteral("Command1_%1").arg(index), caption, parent);
    // Enter belongs to the boxes (each has its own action), never to a default button.
    button->setAutoDefault(false);
    command1[index] = button;
    return button;
}

QWidget *FrmPassword::BuildEntryPage()
{
    auto *page = new QWidget(this);
    frame3 = Named<QGroupBox>(QStringLiteral("Frame3"), QStringLiteral("Insert Password"), page);
    text1 = PasswordBox(QStringLiteral("Text1"), frame3);
    connect(text1, &QLineEdit::returnPressed, this, &FrmPassword::CheckEnteredPassword);
    connect(AddCommand(0, QStringLiteral("OK"), frame3), &QPushButton::clicked, this,
            &FrmPassword::CheckEnteredPassword);
    connect(AddCommand(1, QStringLiteral("Cancel"), frame3), &QPushButton::clicked, this,
            &QDialog::reject);

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Password of the unit:"), text1);
    auto *frameLayout = new QVBoxLayout(frame3);
    frameLayout->addLayout(form);
    frameLayout->addLayout(ButtonRow({command1[0], command1[1]}));
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(frame3);
    return page;
}

QWidget *FrmPassword::BuildLockPage()
{
    auto *page = new QWidget(this);
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(BuildLockFrame());
    layout->addWidget(BuildNewPasswordFrame());
    connect(AddCommand(2, QStringLiteral("Change password..."), page), &QPushButton::clicked, this,
            &FrmPassword::OpenNewPasswordFrame);
    connect(AddCommand(4, QStringLiteral("Close"), page), &QPushButton::clicked, this,
            &QDialog::reject);
    auto *row = new QHBoxLayout;
    row->addWidget(command1[2]);
    row->addStretch();
    row->addWidget(command1[4]);
    layout->addLayout(row);
    return page;
}

QGroupBox *FrmPassword::BuildLockFrame()
{
    frame1 = Named<QGroupBox>(QStringLiteral("Frame1"), QStringLiteral("System lock"), this);
    check1 = Named<QCheckBox>(QStringLiteral("Check1"), frame1);
    connect(check1, &QCheckBox::toggled, this, &FrmPassword::ShowChosenState);
    // Label3 is the check box's caption: clicking it ticks the box too.
    label3 = Named<QLabel>(QStringLiteral("Label3"), QStringLiteral("Lock the unit"), frame1);
    QFont bold = label3->font();
    bold.setBold(true);
    label3->setFont(bold);
    label3->installEventFilter(this);
    label2 = Named<QLabel>(QStringLiteral("Label2"), frame1);
    connect(AddCommand(3, QStringLiteral("Apply"), frame1), &QPushButton::clicked, this,
            &FrmPassword::ApplyLockChoice);

    auto *choice = new QHBoxLayout;
    choice->addWidget(check1);
    choice->addWidget(label3);
    choice->addStretch();
    auto *now = new QHBoxLayout;
    now->addWidget(new QLabel(QStringLiteral("The unit is now:"), frame1));
    now->addWidget(label2);
    now->addStretch();
    auto *layout = new QVBoxLayout(frame1);
    layout->addLayout(choice);
    layout->addLayout(now);
    layout->addLayout(ButtonRow({command1[3]}));
    return frame1;
}

QGroupBox *FrmPassword::BuildNewPasswordFrame()
{
    frame4 = Named<QGroupBox>(QStringLiteral("Frame4"), QStringLiteral("New Password"), this);
    text2 = PasswordBox(QStringLiteral("Text2"), frame4);
    text3 = PasswordBox(QStringLiteral("Text3"), frame4);
    connect(text2, &QLineEdit::returnPressed, this, &FrmPassword::CheckFirstNewPassword);
    connect(text3, &QLineEdit::returnPressed, this, &FrmPassword::ApplyNewPassword);
    connect(AddCommand(5, QStringLiteral("Save password"), frame4), &QPushButton::clicked, this,
            &FrmPassword::ApplyNewPassword);

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("New password (4 characters):"), text2);
    form->addRow(QStringLiteral("Type it again:"), text3);
    auto *layout = new QVBoxLayout(frame4);
    layout->addLayout(form);
    layout->addLayout(ButtonRow({command1[5]}));
    return frame4;
}

bool FrmPassword::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == label3 && event->type() == QEvent::MouseButtonRelease && check1->isEnabled()) {
        check1->toggle();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void FrmPassword::ShowPage(QWidget *page)
{
    entryPage->setVisible(page == entryPage);
    lockPage->setVisible(page == lockPage);
}

void FrmPassword::ShowLockState()
{
    label2->setText(ModLock::LockStateText());
}

void FrmPassword::ShowChosenState()
{
    QPalette palette = label3->palette();
    const QColor colour = check1->isChecked() ? QColor(Qt::red) : QColor(Qt::black);
    palette.setColor(QPalette::Active, QPalette::WindowText, colour);
    palette.setColor(QPalette::Inactive, QPalette::WindowText, colour);
    label3->setPalette(palette);
}

void FrmPassword::CheckEnteredPassword()
{
    switch (ModLock::EnterPassword(text1->text())) {
    case ModLock::EntryResult::Refused:
        text1->selectAll();
        text1->setFocus();
        break;
    case ModLock::EntryResult::ServiceToggled:
        accept();
        break;
    case ModLock::EntryResult::Accepted:
        frame3->setEnabled(false);
        frame1->setEnabled(true);
        ShowPage(lockPage);
        check1->setFocus();
        break;
    }
}

void FrmPassword::OpenNewPasswordFrame()
{
    frame3->setEnabled(false);
    frame1->setEnabled(false);
    frame4->setEnabled(true);
    text2->setFocus();
}

void FrmPassword::ApplyLockChoice()
{
    const bool linkKept = ModLock::ApplyLock(check1->isChecked());
    ShowLockState();
    done(linkKept ? Accepted : Rejected);
}

void FrmPassword::CheckFirstNewPassword()
{
    const QString refusal = ModLock::FirstPasswordRefusal(text2->text());
    if (refusal.isEmpty())
        text3->setFocus();
    else
        ModLock::TellNewPasswordRefused(refusal);
}

void FrmPassword::ApplyNewPassword()
{
    switch (ModLock::ApplyNewPassword(text2->text(), text3->text())) {
    case ModLock::NewPasswordResult::Refused:
        break;
    case ModLock::NewPasswordResult::Stored:
        accept();
        break;
    case ModLock::NewPasswordResult::LinkLost:
        reject();
        break;
    }
}
