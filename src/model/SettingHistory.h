#pragma once

#include <deque>
#include <functional>

#include <QObject>
#include <QString>

#include "model/ApplyImage.h"

/// The undo history of the setting: one step per operator action, holding the image before and
/// after it and the action's name. Undo and redo apply the other image through `ApplyImage`, so
/// the unit gets only the blocks that differ. A small stack of its own rather than QUndoStack:
/// that lives in Qt Gui, and the model builds on Qt Core alone (a remote without windows pushes
/// steps too).
namespace ModFun {

class SettingHistory : public QObject
{
    Q_OBJECT
public:
    static constexpr int Depth = 200;

    struct Step
    {
        QString name;
        Image before;
        Image after;
    };

    /// Adds a step after the current one, dropping the steps that could be redone and, beyond
    /// `Depth`, the oldest.
    void Push(Step step);
    bool CanUndo() const { return done > 0; }
    bool CanRedo() const { return done < steps.size(); }
    /// "Undo " / "Redo " and the step's name; empty when there is none.
    QString UndoText() const;
    QString RedoText() const;
    /// Apply the image before (after) the step. When the link is lost on the way the step stays
    /// where it was and the image holds what reached the unit; the answer is then false.
    bool Undo();
    bool Redo();
    /// Drops every step and the compare's setting B.
    void Clear();
    /// The image is what was last read from or stored to the unit or a file.
    void MarkSaved();
    /// The image differs from the one last marked saved.
    bool Unsaved() const;
    /// A/B compare: "Copy to B" keeps the current image as setting B, A stays active.
    void CopyToB();
    /// Keeps the current image as the active setting and applies the other one through
    /// `ApplyImage`; the other becomes active when it reached the unit. False without a B, or
    /// when the link was lost on the way (the active one stays, the image as the unit has it).
    bool SwitchAB();
    bool HasB() const { return hasB; }
    bool BActive() const { return bActive; }
    /// True while undo or redo applies an image: operator steps opened then are not recorded.
    bool Applying() const { return applying; }

signals:
    /// A step was pushed, undone or redone, the saved mark set or the compare changed.
    void changed();
    /// Undo or redo replaced part of the setting: open windows reload their controls.
    void settingReplaced();

private:
    /// Takes a copy: a panel closed by the recovery rule on the way clears the history.
    bool Apply(Image target);

    std::deque<Step> steps;
    std::size_t done = 0;
    bool applying = false;
    Image saved{};
    /// Settings A and B of the compare.
    std::array<Image, 2> compared{};
    bool hasB = false;
    bool bActive = false;
};

SettingHistory &history();

/// A step's name for channel c: "CH.A " or "CH.B " and `what`.
QString ChannelStepName(int channel, const QString &what);
/// The name of an edit of channel c: the channel's blocks that differ between the images, each
/// with its fields ("CH.A EQ band 4 gain and frequency", "CH.B limiter threshold"). The other
/// channel, which a linked edit changes as well, is left out.
QString EditStepName(int channel, const Image &before, const Image &after);

/// One operator action: the image when it starts, pushed as a step when it ends if the image
/// changed. Nested steps belong to the outermost.
class OperatorStep
{
public:
    /// A step named `name`.
    explicit OperatorStep(QString name);
    /// An edit of channel c's values, named by what it changed (`EditStepName`).
    explicit OperatorStep(int channel);
    ~OperatorStep();
    OperatorStep(const OperatorStep &) = delete;
    OperatorStep &operator=(const OperatorStep &) = delete;

private:
    using Naming = std::function<QString(const Image &before, const Image &after)>;
    explicit OperatorStep(Naming stepNaming);

    Naming naming;
    Image before;
    bool outermost;
};

} // namespace ModFun
