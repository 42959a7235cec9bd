#include "lock/ModLock.h"

#include <algorithm>

#include <QChar>

#include "link/ModTxRx.h"
#include "model/ModFun.h"
#include "model/SystemFlags.h"
#include "model/ValueTables.h"
#include "shell/Messages.h"

namespace ModLock {

State state;

namespace {

constexpr std::uint8_t MemoryWriteCommand = 0x11;
/// The unit takes a new password written here and keeps it where it is read, at 0x001A.
constexpr std::uint8_t PasswordWriteAddress = 0x1E;

const QString NewPasswordTitle = QStringLiteral("New Password");

/// The capital of a single-byte character where it has one in the same code page.
std::uint8_t CapitalCode(std::uint8_t code)
{
    const char16_t upper = QChar(code).toUpper().unicode();
    return upper <= 0xFF ? static_cast<std::uint8_t>(upper) : code;
}

bool HasFourCharacters(const QString &text, const QString &message)
{
    if (text.size() == PasswordLength)
        return true;
    Messages::Tell(message, NewPasswordTitle, Messages::Icon::Information);
    return false;
}

bool MatchesFirstFour(const EnteredCodes &entry, auto codeAt)
{
    for (int i = 0; i < PasswordLength; ++i) {
        if (entry[i] != codeAt(i))
            return false;
    }
    return true;
}

/// A stored number outside the byte range matches no entry.
int StoredCapital(int index)
{
    const int stored = state.StoredPassword[index];
    return stored >= 0 && stored <= 0xFF ? CapitalCode(static_cast<std::uint8_t>(stored)) : -1;
}

void ToggleServiceFlag()
{
    state.ServiceFlag = !state.ServiceFlag;
    emit ModFun::notifier().serviceFlagChanged();
}

} // namespace

void Reset()
{
    state = State{};
}

EnteredCodes ToEnteredCodes(const QString &text)
{
    EnteredCodes codes{};
    const qsizetype count = std::min<qsizetype>(text.size(), codes.size());
    for (qsizetype i = 0; i < count; ++i) {
        const char16_t character = text[i].unicode();
        codes[i] = character <= 0xFF ? CapitalCode(static_cast<std::uint8_t>(character)) : 0;
    }
    return codes;
}

int CheckNum(int characterCode)
{
    if (characterCode >= '0' && characterCode <= '9')
        return characterCode - '0' + 1;
    if (characterCode >= 'A' && characterCode <= 'Z')
        return characterCode - 'A' + 11;
    if (characterCode >= 'a' && characterCode <= 'z')
        return characterCode - 'a' + 11;
    return 0;
}

bool CheckCorrectPassword(const EnteredCodes &entry)
{
    for (int i = 0; i < PasswordLength; ++i) {
        if (entry[i] != ' ' && CheckNum(entry[i]) == 0)
            return false;
    }
    return true;
}

bool VerifyNewPassword(const EnteredCodes &first, const EnteredCodes &repeated)
{
    return MatchesFirstFour(first, [&](int i) { return repeated[i]; });
}

PasswordCheck VerifyPassword(const EnteredCodes &entry)
{
    if (MatchesFirstFour(entry, StoredCapital))
        return {false, false};
    if (MatchesFirstFour(entry, [](int i) { return ValueTables::ServiceCode[i][0]; }))
        return {false, true};
    return {true, false};
}

EntryResult EnterPassword(const QString &text)
{
    const PasswordCheck check = VerifyPassword(ToEnteredCodes(text));
    if (check.refused) {
        Messages::Tell(QStringLiteral("Password wrong"), QStringLiteral("Insert Password"),
                       Messages::Icon::Information);
        return EntryResult::Refused;
    }
    if (check.serviceCode) {
        ToggleServiceFlag();
        return EntryResult::ServiceToggled;
    }
    return EntryResult::Accepted;
}

QString LockStateText()
{
    return state.LockState == 1 ? QStringLiteral("System Lock") : QStringLiteral("System Unlock");
}

bool ApplyLock(bool locked)
{
    state.LockState = locked ? 1 : 0;
    SystemFlags::SetLockBit(locked);
    const bool sent = ModTxRx::SendRepeatable(SystemFlags::SendSystemFlags);
    // The model holds the new state either way; a panel still open shows it.
    emit ModFun::notifier().lockStateChanged();
    return sent;
}

bool CheckNewPasswordLength(const QString &first)
{
    return HasFourCharacters(first, QStringLiteral("Password wrong, please insert 4 character"));
}

NewPasswordResult ApplyNewPassword(const QString &first, const QString &repeated)
{
    if (!CheckNewPasswordLength(first) ||
        !HasFourCharacters(repeated, QStringLiteral("Insert 4 character")))
        return NewPasswordResult::Refused;
    const EnteredCodes codes = ToEnteredCodes(first);
    const EnteredCodes again = ToEnteredCodes(repeated);
    if (!CheckCorrectPassword(codes) || !CheckCorrectPassword(again)) {
        Messages::Tell(QStringLiteral("Value password wrong"), NewPasswordTitle,
                       Messages::Icon::Information);
        return NewPasswordResult::Refused;
    }
    if (!VerifyNewPassword(codes, again)) {
        Messages::Tell(QStringLiteral("Passwords don't match "), NewPasswordTitle,
                       Messages::Icon::Information);
        return NewPasswordResult::Refused;
    }
    const bool sent = ModTxRx::SendRepeatable([&codes] {
        ModTxRx::TransferFrame(MemoryWriteCommand, 0x00, PasswordWriteAddress, codes[0], codes[1],
                               codes[2], codes[3]);
    });
    if (!sent)
        return NewPasswordResult::LinkLost;
    // Held only once the unit has it: the next entry is checked against what the unit keeps.
    std::copy_n(codes.begin(), PasswordLength, state.StoredPassword.begin());
    return NewPasswordResult::Stored;
}

} // namespace ModLock
