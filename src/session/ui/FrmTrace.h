#pragma once

#include <deque>

#include <QWidget>

#include "link/FrameTrace.h"

class QCheckBox;
class QPlainTextEdit;

/// The frame trace window: every open and exchange with the unit as it happens, one
/// `FrameTrace::Line` each. The trace runs while the window exists. "Pause" holds the view still
/// (exchanges are still kept), "Hide meter polls" leaves out the panel's ten polls a second, and
/// "Save..." writes the lines shown to a text file for support.
class FrmTrace : public QWidget
{
    Q_OBJECT
public:
    /// The lines kept; the oldest go first.
    static constexpr int KeptLines = 20000;

    explicit FrmTrace(QWidget *parent = nullptr);
    ~FrmTrace() override;

private:
    void Add(const FrameTrace::Entry &entry);
    bool IsShown(const FrameTrace::Entry &entry) const;
    void ShowAll();
    void Save();

    std::deque<FrameTrace::Entry> entries;
    QPlainTextEdit *TextTrace;
    QCheckBox *CheckPause;
    QCheckBox *CheckHidePolls;
};
