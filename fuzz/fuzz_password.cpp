// Any text typed into the password window, any password held for the unit, any link: entry codes
// are the typed characters in capitals, the checks agree with the unit's character set, a wrong
// entry is told once and changes nothing, a new password is taken only when both boxes hold the
// same 4 characters of the unit's set and is then accepted (in either case) at the next entry, and
// locking changes the lock bit alone, held only once the unit got it.
#include <algorithm>

#include "FuzzInput.h"
#include "ProgramChecks.h"
#include "lock/ModLock.h"
#include "model/ModFun.h"
#include "model/SystemFlags.h"
#include "shell/Messages.h"

namespace {

using ModLock::EnteredCodes;

constexpr int Length = ModLock::PasswordLength;
constexpr std::uint8_t MemoryWriteCommand = 0x11;

bool IsAsciiLetter(char16_t c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool InUnitSet(int code)
{
    return code == ' ' || (code >= '0' && code <= '9') || (code >= 'A' && code <= 'Z');
}

void CheckCodes(const QString &text)
{
    const EnteredCodes codes = ModLock::ToEnteredCodes(text);
    for (std::size_t i = 0; i < codes.size(); ++i) {
        if (i >= static_cast<std::size_t>(text.size())) {
            Require(codes[i] == 0, "no code past the text");
            continue;
        }
        const char16_t c = text[i].unicode();
        if (c > 0xFF)
            Require(codes[i] == 0, "a character without a single-byte code is 0");
        else if (c < 0x80)
            Require(codes[i] == (IsAsciiLetter(c) ? (c & ~0x20) : c), "ASCII in capitals");
    }
    bool inSet = true;
    for (int i = 0; i < Length; ++i) {
        const int number = ModLock::CheckNum(codes[i]);
        Require(number >= 0 && number <= 36, "unit character numbers 0..36");
        Require((number != 0) == (InUnitSet(codes[i]) && codes[i] != ' '), "digits and letters");
        inSet = inSet && InUnitSet(codes[i]);
    }
    Require(ModLock::CheckCorrectPassword(codes) == inSet, "correct = all in the unit's set");
    Require(ModLock::VerifyNewPassword(codes, codes), "an entry matches itself");
}

/// The held password typed back, each letter in either case; empty when it is not typable.
QString HeldPasswordTyped(FuzzInput &input)
{
    QString text;
    for (const int code : ModLock::state.StoredPassword) {
        if (code < 0x20 || code > 0x7E)
            return {};
        const auto c = static_cast<char16_t>(code);
        text.append(QChar(IsAsciiLetter(c) && input.Byte() & 1 ? c ^ 0x20 : c));
    }
    return text;
}

bool IsServiceCode(const EnteredCodes &codes)
{
    for (int i = 0; i < Length; ++i) {
        if (codes[i] != ValueTables::ServiceCode[i][0])
            return false;
    }
    return true;
}

/// The entry's codes are those of the held password typed as it is held.
bool MatchesHeld(const EnteredCodes &codes)
{
    QString held;
    for (const int code : ModLock::state.StoredPassword) {
        if (code < 0 || code > 0xFF)
            return false;
        held.append(QChar(static_cast<char16_t>(code)));
    }
    const EnteredCodes heldCodes = ModLock::ToEnteredCodes(held);
    return std::equal(codes.begin(), codes.begin() + Length, heldCodes.begin());
}

void CheckEntry(const QString &text)
{
    Messages::ClearLog();
    const bool serviceBefore = ModLock::state.ServiceFlag;
    const auto heldBefore = ModLock::state.StoredPassword;
    const EnteredCodes codes = ModLock::ToEnteredCodes(text);
    const auto result = ModLock::EnterPassword(text);
    Require(ModLock::state.StoredPassword == heldBefore, "an entry changes no password");
    switch (result) {
    case ModLock::EntryResult::Refused:
        Require(ToldOnce(QStringLiteral("Insert Password")) &&
                    Messages::Log()[0].box.text == QStringLiteral("Password wrong"),
                "a wrong entry is told once");
        Require(ModLock::state.ServiceFlag == serviceBefore, "a wrong entry toggles nothing");
        Require(!IsServiceCode(codes), "the service code is never wrong");
        break;
    case ModLock::EntryResult::Accepted:
        Require(Messages::Log().empty() && ModLock::state.ServiceFlag == serviceBefore,
                "the password opens silently");
        Require(MatchesHeld(codes), "only the held password opens");
        break;
    case ModLock::EntryResult::ServiceToggled:
        Require(IsServiceCode(codes) && ModLock::state.ServiceFlag != serviceBefore,
                "the service code toggles the flag");
        break;
    }
}

void CheckHeldPasswordOpens(FuzzInput &input)
{
    const QString typed = HeldPasswordTyped(input);
    if (typed.isEmpty())
        return;
    Messages::ClearLog();
    Require(ModLock::EnterPassword(typed) == ModLock::EntryResult::Accepted,
            "the held password opens in either case");
}

void CheckNewPassword(FuzzInput &input, const FuzzSerial &serial, bool demo)
{
    const QString first = input.Text(6);
    const QString repeated = input.Byte() & 1 ? first.toLower() : input.Text(6);
    Messages::ClearLog();
    const auto heldBefore = ModLock::state.StoredPassword;
    const int exchangesBefore = serial.exchanges;
    const std::size_t answeredBefore = serial.answered.size();
    const auto result = ModLock::ApplyNewPassword(first, repeated);
    if (result == ModLock::NewPasswordResult::Refused) {
        Require(ModLock::state.StoredPassword == heldBefore && Messages::Log().size() == 1 &&
                    serial.exchanges == exchangesBefore,
                "a refused new password is told once, nothing kept or sent");
        return;
    }
    if (result == ModLock::NewPasswordResult::LinkLost) {
        Require(!demo && ToldLinkProblem() && ModLock::state.StoredPassword == heldBefore,
                "a password the unit did not get is told and not held");
        return;
    }
    const EnteredCodes codes = ModLock::ToEnteredCodes(first);
    Require(first.size() == Length && repeated.size() == Length &&
                ModLock::CheckCorrectPassword(codes) &&
                ModLock::VerifyNewPassword(codes, ModLock::ToEnteredCodes(repeated)),
            "only 4 matching characters of the unit's set are taken");
    for (int i = 0; i < Length; ++i)
        Require(ModLock::state.StoredPassword[i] == codes[i], "the password held in capitals");
    if (demo)
        Require(serial.exchanges == exchangesBefore, "nothing sent in demo mode");
    else {
        const FrameBuffer &request =
            LastAnswered(serial, MemoryWriteCommand, 0x1E, answeredBefore).request;
        Require(std::equal(codes.begin(), codes.begin() + Length, request.begin() + 5),
                "the unit got the password");
    }
    CheckEntry(first);
    Messages::ClearLog();
    Require(ModLock::EnterPassword(first.toLower()) == ModLock::EntryResult::Accepted,
            "the new password opens in either case");
}

void CheckLock(FuzzInput &input, const FuzzSerial &serial, bool demo)
{
    Messages::ClearLog();
    const bool locked = input.Byte() & 1;
    const std::uint8_t flagsBefore = SystemFlags::state.Byte;
    const std::int16_t stateBefore = ModLock::state.LockState;
    const std::size_t answeredBefore = serial.answered.size();
    const bool sent = ModLock::ApplyLock(locked);
    if (!sent) {
        Require(!demo && ToldLinkProblem(), "a lock the unit did not get is told");
        Require(ModLock::state.LockState == stateBefore && SystemFlags::state.Byte == flagsBefore,
                "a lock the unit did not get is not held");
        return;
    }
    Require(ModLock::state.LockState == (locked ? 1 : 0) &&
                ModLock::LockStateText() ==
                    (locked ? QStringLiteral("System Lock") : QStringLiteral("System Unlock")),
            "the lock state follows the box");
    const std::uint8_t flags =
        (flagsBefore & ~SystemFlags::LockBit) | (locked ? SystemFlags::LockBit : 0);
    Require(SystemFlags::state.Byte == flags, "locking changes the lock bit alone");
    if (!demo)
        Require(LastAnswered(serial, MemoryWriteCommand, 0x10, answeredBefore).request[6] == flags,
                "the unit got the lock");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    FuzzInput input(data, size);
    FuzzSerial serial(input);
    const std::uint8_t flags = ResetProgramFrom(input, serial);
    const bool demo = flags & 1;
    SystemFlags::KeepSystemFlags(flags & (SystemFlags::LockBit | SystemFlags::DistanceBit));
    for (int &code : ModLock::state.StoredPassword)
        code =
            flags & 2 ? static_cast<std::int16_t>(input.Byte() | input.Byte() << 8) : input.Byte();
    for (int actions = 0; actions < 8 && !input.Empty(); ++actions) {
        switch (input.Byte() % 5) {
        case 0:
            CheckCodes(input.Text(8));
            break;
        case 1:
            CheckEntry(input.Text(8));
            break;
        case 2:
            CheckHeldPasswordOpens(input);
            break;
        case 3:
            CheckNewPassword(input, serial, demo);
            break;
        default:
            CheckLock(input, serial, demo);
            break;
        }
    }
    return 0;
}
