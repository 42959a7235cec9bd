#include "shell/ui/MessagePresenters.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

#include "shell/Messages.h"

namespace {

QMessageBox::Icon ToQtIcon(Messages::Icon icon)
{
    switch (icon) {
    case Messages::Icon::Critical:
        return QMessageBox::Critical;
    case Messages::Icon::Exclamation:
        return QMessageBox::Warning;
    case Messages::Icon::Question:
        return QMessageBox::Question;
    case Messages::Icon::Information:
        break;
    }
    return QMessageBox::Information;
}

Messages::Answer ShowMessageBox(const Messages::Box &box)
{
    QMessageBox dialog(ToQtIcon(box.icon), box.title, box.text, QMessageBox::NoButton,
                       QApplication::activeWindow());
    if (box.buttons == Messages::Buttons::Ok) {
        dialog.setStandardButtons(QMessageBox::Ok);
        dialog.exec();
        return Messages::Answer::Ok;
    }
    dialog.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    dialog.setDefaultButton(box.defaultAnswer == Messages::Answer::No ? QMessageBox::No
                                                                      : QMessageBox::Yes);
    return dialog.exec() == QMessageBox::Yes ? Messages::Answer::Yes : Messages::Answer::No;
}

QString ShowFileDialog(const Messages::FileRequest &request)
{
    QWidget *parent = QApplication::activeWindow();
    if (request.mode == Messages::FileMode::Save)
        return QFileDialog::getSaveFileName(parent, request.title, request.folder, request.filter);
    return QFileDialog::getOpenFileName(parent, request.title, request.folder, request.filter);
}

} // namespace

void InstallMessagePresenters()
{
    Messages::SetBoxPresenter(ShowMessageBox);
    Messages::SetFilePresenter(ShowFileDialog);
    InstallArrowOverBoxes();
}

void InstallArrowOverBoxes()
{
    // Each box pushes its arrow before it shows and takes it off once answered, so boxes nest.
    Messages::SetBoxUpHook([](bool up) {
        if (up)
            QGuiApplication::setOverrideCursor(Qt::ArrowCursor);
        else
            QGuiApplication::restoreOverrideCursor();
    });
}
