#include <functional>

#include <QScopedValueRollback>
#include <QSignalSpy>

#include "ModelFixture.h"
#include "model/SettingHistory.h"

namespace {

using ModFun::history;

/// A step kind: the operator action (with its mirror when linked) and the frames, as
/// "cmd d0 .. d5" in hex, that undo and redo send.
struct StepRow
{
    const char *name;
    std::function<void()> action;
    const char *undoFrame;
    const char *redoFrame;
};

void Mirrored(const std::function<void(int channel)> &edit)
{
    edit(0);
    ModFun::MirrorOntoLinkedChannel([] {}, [&edit] { edit(1); });
}

const StepRow StepRows[] = {
    {"band", [] { Mirrored([](int c) {
                      ModFun::SetEqBand(3 + 15 * c, {40, 28, 24});
                  }); },
     "05 00 03 00 1C 18 1E", "05 00 03 00 1C 18 28"},
    {"crossover", [] { Mirrored([](int c) {
                           ModFun::SetCrossover(1 + 2 * c, {100, 2});
                       }); },
     "04 00 01 00 00 78 00", "04 00 01 00 00 64 02"},
    {"mute", [] { Mirrored(ModFun::ToggleMute); }, "0A 00 00 00 00 00 00", "0A 00 00 00 00 00 01"},
    {"eqType", [] { ModFun::SetEqType(true); }, "13 00 00 00 00 00 00", "13 00 00 00 00 00 01"},
    {"delay", [] { Mirrored([](int c) { ModFun::SetDelay(c, 2, 5); }); }, "02 00 00 00 00 00 00",
     "02 00 00 00 00 02 05"},
    {"gate", [] { Mirrored([](int c) { ModFun::SetGateOn(c, true); }); }, "14 00 00 00 00 00 00",
     "14 00 00 01 00 00 00"},
    {"limiter", [] { Mirrored([](int c) {
                         ModFun::SetLimiter(c, {100, 10, 3});
                     }); },
     "07 00 00 00 4B 04 96", "07 00 00 00 0A 03 64"},
};

using namespace ModFun;

/// An edit of one channel's values and the undo text of its step ("" for no step).
struct NamedEditRow
{
    int channel;
    std::function<void(int channel)> edit;
    const char *undoText;
};

// clang-format off
const NamedEditRow NamedEditRows[] = {
    {1, [](int c) { SetEqBand(1 + 15 * c, {30, 20, 24}); }, "Undo CH.B EQ band 2 frequency"},
    {0, [](int c) { SetEqBand(6 + 15 * c, {30, 52, 30}); }, "Undo CH.A EQ band 7 Q"},
    {0, [](int c) { SetEqBand(3 + 15 * c, {40, 30, 24}); },
     "Undo CH.A EQ band 4 gain and frequency"},
    {0, [](int c) { SetCrossover(2 * c, {10, 0}); }, "Undo CH.A high-pass frequency"},
    {1, [](int c) { SetCrossover(1 + 2 * c, {120, 2}); }, "Undo CH.B low-pass slope"},
    {0, [](int c) { SetLimiter(c, {100, 80, 9}); },
     "Undo CH.A limiter threshold, release and attack"},
    {1, [](int c) { SetGateCode(c, 1, 3); }, "Undo CH.B gate release"},
    {0, [](int) { SetDelayUnit(true); }, ""}, // a display choice, not in the image
};
// clang-format on

class SettingHistoryTest : public ModelTest, public ::testing::WithParamInterface<bool>
{
protected:
    void SetUp() override
    {
        ModelTest::SetUp();
        ModFun::LoadDefaultImage();
        Image(ValueTables::FlagsByteIndex) = GetParam() ? 2 : 0;
        const QScopedValueRollback suspended(ModTxRx::state.SendSuspended, true);
        ModFun::SendWholeState();
    }

    QStringList SentSince(std::size_t first) const
    {
        QStringList sent;
        for (std::size_t k = first; k < serial.calls.size(); ++k) {
            const FrameBuffer &f = serial.calls[k].frame;
            sent
                << QByteArray(reinterpret_cast<const char *>(f.data()) + 2, 7).toHex(' ').toUpper();
        }
        return sent;
    }
    /// Runs `action` as one operator step and answers the images before and after it.
    std::pair<ModFun::Image, ModFun::Image> Step(const std::function<void()> &action)
    {
        const ModFun::Image before = ModFun::state.ParamImage;
        {
            const ModFun::OperatorStep step(QStringLiteral("CH.A edit"));
            action();
        }
        return {before, ModFun::state.ParamImage};
    }
};

TEST_P(SettingHistoryTest, UndoAndRedoSendTheOneBlockOfEachStepKind)
{
    for (const StepRow &row : StepRows) {
        SCOPED_TRACE(row.name);
        const auto [before, after] = Step(row.action);
        ASSERT_EQ(history().UndoText(), "Undo CH.A edit");
        std::size_t mark = serial.calls.size();
        ASSERT_TRUE(history().Undo());
        EXPECT_EQ(SentSince(mark), QStringList{row.undoFrame});
        EXPECT_EQ(ModFun::state.ParamImage, before);
        mark = serial.calls.size();
        ASSERT_TRUE(history().Redo());
        EXPECT_EQ(SentSince(mark), QStringList{row.redoFrame});
        EXPECT_EQ(ModFun::state.ParamImage, after);
    }
}

TEST_P(SettingHistoryTest, AnEditIsNamedByTheEditedChannelsChangedFields)
{
    for (const NamedEditRow &row : NamedEditRows) {
        SCOPED_TRACE(row.undoText);
        {
            const ModFun::OperatorStep step(row.channel);
            row.edit(row.channel);
            ModFun::MirrorOntoLinkedChannel([] {}, [&row] { row.edit(1 - row.channel); });
        }
        EXPECT_EQ(history().UndoText(), row.undoText);
        history().Undo();
    }
}

/// Unlinked channels.
class LinkStepTest : public SettingHistoryTest
{
};

TEST_P(LinkStepTest, UndoOfAnEditOfBSendsB)
{
    Step([] { ModFun::SetDelay(1, 2, 5); });
    const std::size_t mark = serial.calls.size();
    ASSERT_TRUE(history().Undo());
    EXPECT_EQ(SentSince(mark), QStringList{"02 01 00 00 00 00 00"});
}

// Channel Link switched on from unlinked channels whose band B1 differs.

TEST_P(LinkStepTest, UndoUnlinksAndPutsBBack)
{
    ModFun::SetEqBand(15, {10, 28, 24});
    const auto [before, after] = Step([] {
        ModFun::state.LinkAB = 1.0;
        {
            const QScopedValueRollback suspended(ModTxRx::state.SendSuspended, true);
            ModFun::LinkCopyAToB();
        }
        ModFun::state.LinkBoxTicked = true;
        ModFun::SendLink();
    });
    std::size_t mark = serial.calls.size();
    ASSERT_TRUE(history().Undo());
    EXPECT_EQ(SentSince(mark), (QStringList{"12 00 00 00 00 00 00", "05 01 00 00 1C 18 0A"}));
    EXPECT_EQ(ModFun::state.ParamImage, before);
    EXPECT_FALSE(ModFun::state.LinkBoxTicked);
    mark = serial.calls.size();
    ASSERT_TRUE(history().Redo());
    EXPECT_EQ(SentSince(mark), QStringList{"12 00 00 00 00 00 01"});
    EXPECT_EQ(ModFun::state.ParamImage, after);
}

TEST_P(SettingHistoryTest, LostLinkMidUndoKeepsTheStepAndWhatReachedTheUnit)
{
    const auto [before, after] = Step([] {
        ModFun::SetEqBand(0, {40, 4, 24});
        ModFun::SetEqBand(1, {40, 12, 24});
    });
    serial.QueueReply(ReplyFrame(0x05));
    serial.QueueFailure();
    serial.onlyPort = QStringLiteral("COM40"); // the reopen finds nothing
    EXPECT_FALSE(history().Undo());
    EXPECT_TRUE(history().CanUndo());
    EXPECT_FALSE(history().CanRedo());
    EXPECT_EQ(Image(ValueTables::EqBandOffsets[0]), before[ValueTables::EqBandOffsets[0]]);
    EXPECT_EQ(Image(ValueTables::EqBandOffsets[1]), after[ValueTables::EqBandOffsets[1]]);
    EXPECT_EQ(ModFun::state.BandGainDb[1], 5.0);
}

// A window that edits while it reloads after an undo adds no step of its own.
TEST_P(SettingHistoryTest, AStepOpenedWhileUndoAppliesIsNotRecorded)
{
    Step(StepRows[0].action);
    QObject context;
    QObject::connect(&history(), &SettingHistory::settingReplaced, &context,
                     [this] { Step([] { ModFun::ToggleMute(0); }); });
    ASSERT_TRUE(history().Undo());
    EXPECT_FALSE(history().CanUndo());
}

TEST_P(SettingHistoryTest, CompareSwitchSendsOnlyTheDifferingBlocks)
{
    EXPECT_FALSE(SettingHistory().SwitchAB()) << "a new history has no setting B";
    EXPECT_FALSE(history().SwitchAB());
    history().CopyToB();
    const ModFun::Image b = ModFun::state.ParamImage;
    StepRows[0].action();
    StepRows[4].action();
    const ModFun::Image a = ModFun::state.ParamImage;
    std::size_t mark = serial.calls.size();
    QSignalSpy changed(&history(), &ModFun::SettingHistory::changed);
    QSignalSpy replaced(&history(), &ModFun::SettingHistory::settingReplaced);
    ASSERT_TRUE(history().SwitchAB());
    EXPECT_EQ(SentSince(mark), (QStringList{"05 00 03 00 1C 18 1E", "02 00 00 00 00 00 00"}));
    EXPECT_EQ(ModFun::state.ParamImage, b);
    EXPECT_EQ(changed.count(), 1) << "the compare buttons follow";
    EXPECT_EQ(replaced.count(), 1) << "open windows reload";
    EXPECT_TRUE(history().BActive());
    mark = serial.calls.size();
    ASSERT_TRUE(history().SwitchAB());
    EXPECT_EQ(SentSince(mark), (QStringList{"05 00 03 00 1C 18 28", "02 00 00 00 00 02 05"}));
    EXPECT_EQ(ModFun::state.ParamImage, a);
}

INSTANTIATE_TEST_SUITE_P(Link, SettingHistoryTest, ::testing::Bool());
INSTANTIATE_TEST_SUITE_P(Unlinked, LinkStepTest, ::testing::Values(false));

} // namespace
