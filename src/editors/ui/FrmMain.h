#pragma once

#include <array>

#include <QPixmap>
#include <QWidget>

#include "shell/ui/WindowOpeners.h"

class QCheckBox;
class QFrame;
class QGroupBox;
class QLabel;
class QPushButton;
class QTimer;
class ClickableLabel;
class MeterBar;

/// The overview panel of both channels: block captions (`Label100_<10 * channel + block>`, their
/// tool tips the model's summaries; a click opens the block's editor), mute pictures `Image1_0/1`,
/// "Channel Link" `Check12`, the preset buttons `Command2_0..4`, `Command2_8` ("Copy"),
/// `Command1`, `Command3`, the version label `Label21`, and six meter bars `Shape1_0..41` that
/// `Timer1` polls ten times a second.
///
/// Loading it runs the whole-state transfer without sending and sets `PanelOpen`; while it lives
/// it is the overview panel the recovery rule closes. Closing asks, releases the unit and closes
/// the port; the operator's close waits while the line is taken (a preset action and the Channel
/// Link hold it). Inside an MDI area it closes its sub-window; on its own it closes itself.
class FrmMain : public QWidget
{
    Q_OBJECT
public:
    static constexpr int ClientWidth = 540;
    static constexpr int ClientHeight = 388;

    explicit FrmMain(QWidget *parent = nullptr);
    ~FrmMain() override;

    /// One tick of the meter poll (`Timer1`).
    void PollMeters();

signals:
    /// A meter tick decoded a reply and redrew the bars.
    void metersPolled();
    /// The panel was closed (the port released); it goes away next.
    void closed();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    QWidget *BuildChannelStrips();
    QGroupBox *BuildChannelStrip(int channel);
    QWidget *BuildMeters();
    QWidget *BuildProgressFrame(QWidget *parent);
    QWidget *BuildButtons();
    QPushButton *AddButton(const QString &name, const QString &caption,
                           WindowOpeners::Action action);
    QPushButton *AddIdleButton(const QString &name, const QString &caption);

    void ConnectModel();
    void ShowSummary(int label);
    void ShowCaption(int label);
    void ShowMute(int channel);
    void ShowChannelNames();
    void ShowLinkBox(bool ticked);
    void ApplyLockView();
    void ShowServiceButton();
    void ShowWholeState();

    void OpenBlockEditor(int label);
    void RunPresetAction(WindowOpeners::Action action);
    void MuteClicked(int channel);
    void LinkClicked(bool ticked);

    /// Colours the six bars from the decoded meter state.
    void DrawBars();
    void SetPollInterval(int ms);
    /// Closes the sub-window, or the panel itself when it stands alone.
    void Unload();
    void CloseAfterFailure();
    /// No longer the overview panel: `PanelOpen` false, the recovery rule's hook removed.
    void Unregister();

    std::array<ClickableLabel *, 20> Label100{};
    std::array<ClickableLabel *, 2> Image1{};
    std::array<QGroupBox *, 2> channelStrips{};
    std::array<QPushButton *, 10> Command2{};
    std::array<MeterBar *, 6> bars{};
    /// Entry 0 the unmuted picture, 1 the muted one.
    std::array<QPixmap, 2> mutePictures;
    QFrame *Frame1 = nullptr;
    QCheckBox *Check12 = nullptr;
    QPushButton *Command1 = nullptr;
    QPushButton *Command3 = nullptr;
    ClickableLabel *Label21 = nullptr;
    QTimer *Timer1 = nullptr;
    bool loaded = false;
};
