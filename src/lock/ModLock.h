#pragma once

#include <array>
#include <cstdint>

#include <QString>

/// The unit's password and lock state as the program holds them, and the checks and frames of
/// the password window. The lock bit itself lives in the unit's system flags byte
/// (`SystemFlags::SetLockBit`), which it shares with the delay editor's distance bit. Depends on
/// model (flags byte, notifier, service code), link (frames, recovery rule) and shell (messages).
namespace ModLock {

inline constexpr int PasswordLength = 4;

struct State
{
    /// Character codes of the unit's 4-character password.
    std::array<int, PasswordLength> StoredPassword{};
    /// 1 = locked.
    std::int16_t LockState = 0;
    /// Shows the "Preset factory to PC" button; toggled by the service code.
    bool ServiceFlag = false;
};

extern State state;

void Reset();

/// The codes of a typed text: its first six characters, letters in capitals, each as its
/// single-byte (Latin-1) code, 0 for a character that has none. Only indices 0..3 are compared.
using EnteredCodes = std::array<std::uint8_t, 6>;
EnteredCodes ToEnteredCodes(const QString &text);

/// The unit's own character set: blank = 0, "0".."9" = 1..10, "A".."Z" (either case) = 11..36;
/// any other character is 0 as well.
int CheckNum(int characterCode);

/// True when codes 0..3 are all characters of the unit's set (blank, digit or letter).
bool CheckCorrectPassword(const EnteredCodes &entry);
/// True when codes 0..3 of both entries are equal.
bool VerifyNewPassword(const EnteredCodes &first, const EnteredCodes &repeated);

struct PasswordCheck
{
    bool refused = true;
    /// Accepted through the service code rather than the unit's password.
    bool serviceCode = false;
};
/// Compares codes 0..3 with the stored password (its letters taken in capitals), then with the
/// service code.
PasswordCheck VerifyPassword(const EnteredCodes &entry);

enum class EntryResult { Refused, Accepted, ServiceToggled };
/// The password entry: a refused entry is told "Password wrong"; the service code toggles the
/// service flag (announced by `serviceFlagChanged`).
EntryResult EnterPassword(const QString &text);

/// "System Lock" while locked, else "System Unlock".
QString LockStateText();

/// Locks or unlocks the unit (command 0x11 at 0x0010, the distance bit kept, sent once more after
/// a reopen), then holds the new state and announces it with `lockStateChanged`. False when the
/// unit did not get it (the recovery rule has closed the panel, or the operator was told that
/// the unit does not answer): the lock state and the lock bit stay as they were.
bool ApplyLock(bool locked);

/// Why the first new-password box cannot be taken, as the operator is told it; empty when it
/// holds 4 characters.
QString FirstPasswordRefusal(const QString &first);
/// Tells the operator why a new password was refused (a "New Password" box).
void TellNewPasswordRefused(const QString &reason);

enum class NewPasswordResult {
    Refused,
    Stored,
    LinkLost, ///< the unit did not get it (the operator was told); the old password is held
};
/// Checks both boxes (the operator is told why an entry is refused), then writes the password in
/// capitals to the unit (command 0x11 at 0x001E with the four codes, sent once more after a
/// reopen) and holds it once the unit has it.
NewPasswordResult ApplyNewPassword(const QString &first, const QString &repeated);

} // namespace ModLock
