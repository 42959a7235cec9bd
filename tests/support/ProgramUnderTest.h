#pragma once

#include <functional>

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QToolBar>
#include <QtTest>

#include "ScriptedMessages.h"
#include "TemporaryConfig.h"
#include "TemporaryDocuments.h"
#include "VirtualUnit.h"
#include "editors/ui/FrmMain.h"
#include "graph/ModGraph.h"
#include "link/ModTxRx.h"
#include "link/QtSerialComponent.h"
#include "lock/ModLock.h"
#include "model/ModFun.h"
#include "model/PanelFlags.h"
#include "model/SystemFlags.h"
#include "model/ValueTables.h"
#include "presets/ModPreset.h"
#include "presets/PresetFiles.h"
#include "session/Startup.h"
#include "session/ui/MDIFrmMain.h"
#include "shell/ui/WindowOpeners.h"

/// A fault option of the virtual unit for frame `frame`, counted from 1 (the connect's identity
/// query), e.g. `FaultAt("--hangup-after", ProgramUnderTest::ConnectFrames + 1)`.
inline QStringList FaultAt(const char *option, int frame)
{
    return {QString::fromLatin1(option), QString::number(frame)};
}

/// The real program for window tests against the virtual unit (header only: it needs Qt
/// Widgets): the main window on the real serial component with every window of the panel
/// registered, the unit as COM1, all inside a temporary configuration and documents folder.
class ProgramUnderTest
{
public:
    static constexpr int UnitPort = 1;
    /// Frames of a connect to a unit without user presets: the identity query that finds it,
    /// then the load (0x00, password, identity, lock byte, current preset, four reads of used
    /// marks, 32 image reads). Each used place adds two name reads.
    static constexpr int ConnectFrames = 42;
    static constexpr int UnitMemorySize = 4096;
    /// Longer than a meter tick: the panel's poll comes round while a box is up.
    static constexpr int BoxShownMs = 150;
    inline static const QByteArray UnitMemoryHeader = QByteArrayLiteral("MX-RF418 unit memory 1\n");

    ProgramUnderTest() : documents(config), window(serial)
    {
        messages.KeepBoxesUpFor(BoxShownMs);
        ModGraph::Reset();
        PresetFiles::Reset();
        WindowOpeners::RegisterAllWindows();
        window.Load();
        window.show();
    }

    ~ProgramUnderTest()
    {
        // Windows first: they still talk to the modules while they close.
        while (QWidget *modal = QApplication::activeModalWidget())
            modal->close();
        window.hide();
        unit.Stop();
        WindowOpeners::Reset();
        ModTxRx::Reset();
        ModFun::Reset();
        PanelFlags::Reset();
        SystemFlags::Reset();
        ModPreset::Reset();
        ModLock::Reset();
    }

    ProgramUnderTest(const ProgramUnderTest &) = delete;
    ProgramUnderTest &operator=(const ProgramUnderTest &) = delete;

    /// Starts the unit as COM1 with these options (faults, --state ...).
    bool StartUnit(const QStringList &options = {})
    {
        const bool started = unit.Start({UnitPort, options});
        if (!started)
            qWarning("%s", qPrintable(unit.ErrorString()));
        return started;
    }

    /// Connect as the operator does it; true when the overview panel opened.
    bool Connect()
    {
        messages.Answer(Messages::Answer::Yes);
        ToolbarButton(QStringLiteral("Command1"))->click();
        return Panel() != nullptr;
    }

    FrmMain *Panel() const { return window.Panel(); }

    QPushButton *ToolbarButton(const QString &name) const
    {
        return window.findChild<QToolBar *>(QStringLiteral("Toolbar1"))
            ->findChild<QPushButton *>(name);
    }

    /// A control of the overview panel by its name.
    template<class Control = QWidget> Control *PanelControl(const QString &name) const
    {
        Control *control = Panel() ? Panel()->findChild<Control *>(name) : nullptr;
        if (!control)
            qFatal("the panel has no control %s", qPrintable(name));
        return control;
    }

    /// The panel's click on a button or a caption (a caption opens its editor).
    void ClickPanel(const QString &name)
    {
        QWidget *control = PanelControl(name);
        if (auto *button = qobject_cast<QPushButton *>(control))
            button->click();
        else
            QTest::mouseClick(control, Qt::LeftButton);
    }

    /// Runs `act` on the next modal window as soon as it shows; the panel opens its windows
    /// modally, so the click that opens one returns only when it closed. Nothing here forces
    /// deferred deletions while the window runs, as the program's own loop would not either.
    static void OnNextModal(const std::function<void(QWidget &)> &act, int triesLeft = 200)
    {
        QTimer::singleShot(10, [act, triesLeft] {
            if (QWidget *modal = QApplication::activeModalWidget())
                act(*modal);
            else if (triesLeft > 0)
                OnNextModal(act, triesLeft - 1);
            else
                qFatal("no modal window opened");
        });
    }

    /// Opens the editor of the panel caption `label` and runs `act` in it; answers whether the
    /// editor was still open 4 s later, when it is closed. A lost link closes it at once.
    bool EditorLeftOpen(const QString &label, const std::function<void(QWidget &)> &act)
    {
        bool leftOpen = false;
        OnNextModal([&leftOpen, act](QWidget &editor) {
            QTimer::singleShot(4000, &editor, [&] {
                leftOpen = true;
                editor.close();
            });
            act(editor);
        });
        ClickPanel(label);
        return leftOpen;
    }

    /// "Preset from device": picks `row` in the read window and reads it, answering Yes.
    void ReadPreset(int row)
    {
        OnNextModal([this, row](QWidget &window) {
            window.findChild<QListWidget *>(QStringLiteral("List1"))->setCurrentRow(row);
            messages.Answer(Messages::Answer::Yes);
            window.findChild<QPushButton *>(QStringLiteral("Command1_1"))->click();
        });
        ClickPanel(QStringLiteral("Command2_3"));
    }

    /// "Preset to device": stores the setting as `name` in user place `place` (preset
    /// place + 17), answering Yes.
    void StorePreset(int place, const QString &name)
    {
        OnNextModal([this, place, name](QWidget &window) {
            window.findChild<QComboBox *>(QStringLiteral("Combo1"))->setCurrentIndex(place);
            window.findChild<QLineEdit *>(QStringLiteral("Text1"))->setText(name);
            messages.Answer(Messages::Answer::Yes);
            window.findChild<QPushButton *>(QStringLiteral("Command1_1"))->click();
        });
        ClickPanel(QStringLiteral("Command2_2"));
    }

    /// A unit memory file for `--state` whose user place `place` holds `image` under `name`.
    QString WriteUnitMemory(int place, const QByteArray &name, const QByteArray &image) const
    {
        QByteArray memory(UnitMemorySize, '\0');
        memory.replace(0x1A, 4, "0000"); // the password
        memory[0x30 + place] = 0x55; // used
        memory.replace(3872 + 8 * place, 8, name);
        memory.replace(288 + 128 * place, 128, image);
        const QString path = UnitMemoryPath();
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(UnitMemoryHeader + memory) < 0)
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }

    /// Where `WriteUnitMemory` writes, for a unit that should keep its memory there.
    QString UnitMemoryPath() const { return config.Path() + QStringLiteral("/unit.mem"); }

    /// The unit's 4096 bytes of memory as it kept them (`--state`).
    QByteArray UnitMemory() const
    {
        return FileBytes(UnitMemoryPath()).mid(UnitMemoryHeader.size());
    }

    /// A file in the documents folder.
    QString WriteDocument(const QString &name, const QByteArray &bytes) const
    {
        const QString path = documents.PathOf(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) < 0)
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }

    static QByteArray FactoryImage(int index)
    {
        const auto &image = ValueTables::FactoryPresetImages[index];
        return QByteArray(reinterpret_cast<const char *>(image.data()), int(image.size()));
    }

    /// The first `count` bytes of the program's image.
    static QByteArray ImageBytes(int count)
    {
        return QByteArray(reinterpret_cast<const char *>(ModFun::state.ParamImage.data()), count);
    }

    /// The 128 bytes the unit last got for each block of an upload (0x1A), from its log.
    QByteArray UploadedImage() const
    {
        QByteArray image(128, '\0');
        for (const UnitLogEntry &entry : unit.Log()) {
            const auto offset = static_cast<std::uint8_t>(entry.request.at(4));
            if (entry.request.at(2) == '\x1A' && offset < 128)
                image.replace(offset, 4, entry.request.mid(5, 4));
        }
        return image;
    }

    /// The object names of the windows shown beside the main window.
    QStringList OpenWindows() const
    {
        QStringList open;
        for (QWidget *shown : QApplication::topLevelWidgets()) {
            if (shown->isVisible() && shown != &window)
                open << shown->objectName();
        }
        return open;
    }

    /// How many message boxes with this text were shown.
    int TimesShown(const QString &text) const
    {
        return static_cast<int>(messages.Texts().count(text));
    }

    /// The bytes of a file, empty when it is missing.
    static QByteArray FileBytes(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    TemporaryConfig config;
    TemporaryDocuments documents;
    ScriptedMessages messages;
    QtSerialComponent serial;
    MDIFrmMain window;
    VirtualUnit unit;
};
