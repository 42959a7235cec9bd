#pragma once

#include <functional>
#include <vector>

#include <QString>

/// Every message box and file dialog of the program goes through here. The windows library
/// installs presenters that show real dialogs; a test installs its own to answer them and reads
/// the log of what was shown.
namespace Messages {

enum class Icon { Critical, Exclamation, Information, Question };
enum class Buttons { Ok, YesNo };
enum class Answer { Ok, Yes, No };

struct Box
{
    QString text;
    QString title;
    Icon icon = Icon::Information;
    Buttons buttons = Buttons::Ok;
    Answer defaultAnswer = Answer::Ok;
};

enum class FileMode { Open, Save };

struct FileRequest
{
    FileMode mode = FileMode::Open;
    QString title;
    QString folder;
    /// Qt filter text, e.g. "file preset (*.RFP)".
    QString filter;
};

/// One entry of the log: the box that was shown.
struct Shown
{
    Box box;
};

using BoxPresenter = std::function<Answer(const Box &)>;
/// Answers the chosen path, or an empty string when the operator cancelled.
using FilePresenter = std::function<QString(const FileRequest &)>;

/// Shows a box and answers the button pressed. Without a presenter it answers the default.
Answer Show(const Box &box);

/// OK box with the given icon.
void Tell(const QString &text, const QString &title, Icon icon);
/// The "Warning" box (exclamation icon) of a typed text that cannot be taken.
void Warn(const QString &text);
/// Yes/No question (question icon); true when answered Yes. `defaultAnswer` is the button
/// Enter presses.
bool Ask(const QString &text, const QString &title, Answer defaultAnswer = Answer::Yes);

QString AskFileName(const FileRequest &request);

void SetBoxPresenter(BoxPresenter presenter);
void SetFilePresenter(FilePresenter presenter);
/// Runs around every box, whoever presents it: with true before it shows, with false once it was
/// answered. The windows library sets the pointer a box shows there.
void SetBoxUpHook(std::function<void(bool up)> hook);

/// The most recent boxes, oldest first (the last 100 are kept).
const std::vector<Shown> &Log();
void ClearLog();

/// No presenters, no hook, empty log.
void Reset();

} // namespace Messages
