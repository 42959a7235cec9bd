#pragma once

#include "CoreReset.h"
#include <vector>

#include <QLineEdit>
#include <QSlider>
#include <QtTest>

#include "RecordingSerial.h"
#include "ScriptedMessages.h"
#include "graph/FilterEdit.h"
#include "graph/ModGraph.h"
#include "link/ModTxRx.h"
#include "model/ModFun.h"
#include "model/PanelFlags.h"
#include "model/SystemFlags.h"
#include "shell/ModCountry.h"

/// For the editor windows' tests (header only: it needs Qt Widgets): the model on the default
/// image with the channels named, as the overview panel leaves it, on a recording serial double
/// that has seen no frame yet.
class EditorHarness
{
public:
    EditorHarness()
    {
        ResetAll();
        ModTxRx::state.SerialPort = &serial;
        serial.open = true;
        ModFun::LoadDefaultImage();
        ModTxRx::state.SendSuspended = true;
        ModFun::SendWholeState();
        ModTxRx::state.SendSuspended = false;
        ModFun::state.ChannelLink = 0;
        ModTxRx::SetPanelCloseHook([this] { ++panelClosed; });
    }
    ~EditorHarness() { ResetAll(); }

    static void ResetAll() { ResetTheCore(); }

    static std::uint8_t &Image(int index) { return ModFun::state.ParamImage[index]; }
    /// The summary of a block of channel c, as the overview panel shows it.
    static QString Summary(int channel, ModFun::SummaryBlock block)
    {
        return ModFun::state.Summary[10 * channel + block];
    }

    /// The next exchange fails and so does the reopen that follows: the link is lost.
    void LoseTheLink()
    {
        serial.QueueFailure();
        serial.refusedPorts.insert(ModTxRx::PortName(ModTxRx::state.ComPort));
    }

    std::vector<FrameBuffer> Frames() const
    {
        std::vector<FrameBuffer> frames;
        for (const RecordingSerial::Call &call : serial.calls)
            frames.push_back(call.frame);
        return frames;
    }

    RecordingSerial serial;
    ScriptedMessages messages;
    int panelClosed = 0;
};

/// Types a text into a box as the operator does, then presses Enter.
inline void TypeAndEnter(QLineEdit *box, const QString &text)
{
    box->clear();
    QTest::keyClicks(box, text);
    QTest::keyClick(box, Qt::Key_Return);
}

/// The box loses the focus (the operator tabs or clicks away).
inline void Leave(QWidget *box)
{
    QFocusEvent focusOut(QEvent::FocusOut, Qt::TabFocusReason);
    QCoreApplication::sendEvent(box, &focusOut);
}

/// The widget of type T named `name` inside `window`; fails the test when there is none.
template<class T> T *Named(const QWidget &window, const QString &name)
{
    T *widget = window.findChild<T *>(name);
    if (!widget)
        qFatal("no %s named %s", T::staticMetaObject.className(), qPrintable(name));
    return widget;
}
