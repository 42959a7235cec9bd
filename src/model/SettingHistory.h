#pragma once

#include <deque>

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
    void Clear();
    /// The image is what was last read from or stored to the unit or a file.
    void MarkSaved();
    /// The image differs from the one last marked saved.
    bool Unsaved() const;
    /// True while undo or redo applies an image: operator steps opened then are not recorded.
    bool Applying() const { return applying; }

signals:
    /// A step was pushed, undone or redone, or the saved mark set.
    void changed();
    /// Undo or redo replaced part of the setting: open windows reload their controls.
    void settingReplaced();

private:
    bool Apply(const Image &target);

    std::deque<Step> steps;
    std::size_t done = 0;
    bool applying = false;
    Image saved{};
};

SettingHistory &history();

/// A step's name for channel c: "CH.A " or "CH.B " and `what`.
QString ChannelStepName(int channel, const QString &what);

/// One operator action: the image when it starts, pushed as a step named `name` when it ends if
/// the image changed. Nested steps belong to the outermost.
class OperatorStep
{
public:
    explicit OperatorStep(QString name);
    ~OperatorStep();
    OperatorStep(const OperatorStep &) = delete;
    OperatorStep &operator=(const OperatorStep &) = delete;

private:
    QString name;
    Image before;
    bool outermost;
};

} // namespace ModFun
