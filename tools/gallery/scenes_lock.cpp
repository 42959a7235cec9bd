#include <QLineEdit>
#include <QPushButton>

#include "Gallery.h"
#include "lock/ModLock.h"
#include "lock/ui/FrmPassword.h"

namespace {

/// The password window in demo mode, the unit locked with the password "0000".
std::unique_ptr<FrmPassword> LockedUnitWindow()
{
    GalleryDemo();
    ModLock::state.StoredPassword = {'0', '0', '0', '0'};
    ModLock::state.LockState = 1;
    return std::make_unique<FrmPassword>();
}

void Type(QWidget *window, const char *box, const QString &text)
{
    window->findChild<QLineEdit *>(QLatin1String(box))->setText(text);
}

void Click(QWidget *window, const char *button)
{
    window->findChild<QPushButton *>(QLatin1String(button))->click();
}

std::unique_ptr<FrmPassword> PasswordAccepted()
{
    auto window = LockedUnitWindow();
    Type(window.get(), "Text1", QStringLiteral("0000"));
    Click(window.get(), "Command1_0");
    return window;
}

} // namespace

GALLERY_SCENE("FrmPassword-entry", [] {
    auto window = LockedUnitWindow();
    Type(window.get(), "Text1", QStringLiteral("00"));
    return window;
});

GALLERY_SCENE("FrmPassword-lock", [] { return PasswordAccepted(); });

GALLERY_SCENE("FrmPassword-newPassword", [] {
    auto window = PasswordAccepted();
    Click(window.get(), "Command1_2");
    Type(window.get(), "Text2", QStringLiteral("ab12"));
    return window;
});
