#include "session/ui/FrmTrace.h"

#include <QCheckBox>
#include <QDateTime>
#include <QFile>
#include <QFontDatabase>
#include <QGridLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStandardPaths>

#include "link/UnitProtocol.h"
#include "shell/Messages.h"

namespace {

QCheckBox *NamedCheckBox(const QString &name, const QString &text, QWidget *parent)
{
    auto *box = new QCheckBox(text, parent);
    box->setObjectName(name);
    return box;
}

} // namespace

FrmTrace::FrmTrace(QWidget *parent)
    : QWidget(parent, Qt::Window), TextTrace(new QPlainTextEdit(this)),
      CheckPause(NamedCheckBox(QStringLiteral("CheckPause"), QStringLiteral("Pause"), this)),
      CheckHidePolls(
          NamedCheckBox(QStringLiteral("CheckHidePolls"), QStringLiteral("Hide meter polls"), this))
{
    setObjectName(QStringLiteral("FrmTrace"));
    setWindowTitle(QStringLiteral("Frame trace"));
    TextTrace->setObjectName(QStringLiteral("TextTrace"));
    TextTrace->setReadOnly(true);
    TextTrace->setLineWrapMode(QPlainTextEdit::NoWrap);
    TextTrace->setMaximumBlockCount(KeptLines);
    TextTrace->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    auto *save = new QPushButton(QStringLiteral("Save..."), this);
    save->setObjectName(QStringLiteral("CommandSave"));
    auto *layout = new QGridLayout(this);
    layout->addWidget(TextTrace, 0, 0, 1, 4);
    layout->addWidget(CheckPause, 1, 0);
    layout->addWidget(CheckHidePolls, 1, 1);
    layout->setColumnStretch(2, 1);
    layout->addWidget(save, 1, 3);
    connect(CheckPause, &QCheckBox::toggled, this, &FrmTrace::ShowAll);
    connect(CheckHidePolls, &QCheckBox::toggled, this, &FrmTrace::ShowAll);
    connect(save, &QPushButton::clicked, this, &FrmTrace::Save);
    resize(820, 420);
    FrameTrace::SetHook([this](const FrameTrace::Entry &entry) { Add(entry); });
}

FrmTrace::~FrmTrace()
{
    FrameTrace::SetHook({});
}

void FrmTrace::Add(const FrameTrace::Entry &entry)
{
    entries.push_back(entry);
    if (entries.size() > static_cast<std::size_t>(KeptLines))
        entries.pop_front();
    if (!CheckPause->isChecked() && IsShown(entry))
        TextTrace->appendPlainText(FrameTrace::Line(entry));
}

bool FrmTrace::IsShown(const FrameTrace::Entry &entry) const
{
    return !CheckHidePolls->isChecked() ||
        FrameTrace::Command(entry) != UnitProtocol::MeterPollCommand;
}

void FrmTrace::ShowAll()
{
    if (CheckPause->isChecked())
        return;
    QStringList lines;
    for (const FrameTrace::Entry &entry : entries) {
        if (IsShown(entry))
            lines << FrameTrace::Line(entry);
    }
    TextTrace->setPlainText(lines.join(QLatin1Char('\n')));
    TextTrace->moveCursor(QTextCursor::End);
}

void FrmTrace::Save()
{
    const QString path =
        Messages::AskFileName({Messages::FileMode::Save, QStringLiteral("Save the frame trace"),
                               QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation),
                               QStringLiteral("Text (*.txt)")});
    if (path.isEmpty())
        return;
    QFile file(path);
    const QByteArray text =
        QStringLiteral("MX-RF418 frame trace, saved %1\n%2\n")
            .arg(QDateTime::currentDateTime().toString(Qt::ISODate), TextTrace->toPlainText())
            .toUtf8();
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(text) != text.size())
        Messages::Tell(QStringLiteral("The trace could not be written to %1.").arg(path),
                       QStringLiteral("Frame trace"), Messages::Icon::Exclamation);
}
