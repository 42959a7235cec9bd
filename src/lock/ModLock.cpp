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

/// The capital of a single-byte character where it has one in the same code page.
std::uint8_t CapitalCode(std::uint8_t code)
{
    const char16_t upper = QChar(code).toUpper().unicode();
    return upper <= 0xFF ? static_cast<std::uint8_t>(upper) : code;
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

/// Why the two new-password boxes cannot be taken, as the operator is told it; empty when they
/// can.
QString NewPasswordRefusal(const QString &first, const QString &repeated)
{
    if (const QString refusal = FirstPasswordRefusal(first); !refusal.isEmpty())
        return refusal;
    if (repeated.size() != PasswordLength)
        return QStringLiteral("Insert 4 character");
    const EnteredCodes codes = ToEnteredCodes(first);
    const EnteredCodes again = ToEnteredCodes(repeated);
    if (!CheckCorrectPassword(codes) || !CheckCorrectPassword(again))
        return QStringLiteral("Value password wrong");
    if (!VerifyNewPassword(codes, again))
        return QStringLiteral("Passwords don't match ");
    return {};
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
    const bool held = (SystemFlags::state.Byte & SystemFlags::LockBit) != 0;
    SystemFlags::SetLockBit(locked);
    if (!ModTxRx::SendRepeatable(SystemFlags::SendSystemFlags)) {
        // Held only once the unit has it, as the password: the unit keeps its old lock.
        SystemFlags::SetLockBit(held);
        return false;
    }
    state.LockState = locked ? 1 : 0;
    emit ModFun::notifier().lockStateChanged();
    return true;
}

QString FirstPasswordRefusal(const QString &first)
{
    if (first.size() == PasswordLength)
        return {};
    return QStringLiteral("Password wrong, please insert 4 character");
}

void TellNewPasswordRefused(const QString &reason)
{
    Messages::Tell(reason, QStringLiteral("New Password"), Messages::Icon::Information);
}

NewPasswordResult ApplyNewPassword(const QString &first, const QString &repeated)
{
    if (const QString refusal = NewPasswordRefusal(first, repeated); !refusal.isEmpty()) {
        TellNewPasswordRefused(refusal);
        return NewPasswordResult::Refused;
    }
    const EnteredCodes codes = ToEnteredCodes(first);
    const bool sent = ModTxRx::SendRepeatable([&codes] {
        ModTxRx::TransferFrame(UnitProtocol::WriteMemoryCommand, 0,
                               UnitProtocol::PasswordWriteAddress, codes[0], codes[1], codes[2],
                               codes[3]);
    });
    if (!sent)
        return NewPasswordResult::LinkLost;
    // Held only once the unit has it: the next entry is checked against what the unit keeps.
    std::copy_n(codes.begin(), PasswordLength, state.StoredPassword.begin());
    return NewPasswordResult::Stored;
}

} // namespace ModLock
