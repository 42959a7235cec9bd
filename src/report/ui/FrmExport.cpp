#include "report/ui/FrmExport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>

#include "report/ResponseDrawing.h"
#include "shell/Messages.h"

namespace {

struct FormatEntry
{
    const char *caption;
    const char *suffix;
};

/// In the order of `Report::Format`.
constexpr FormatEntry Formats[] = {
    {"CSV table", "csv"}, {"PNG picture", "png"}, {"SVG drawing", "svg"}};

const QString Title = QStringLiteral("Export the response");

} // namespace

FrmExport::FrmExport(int channel, QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FrmExport"));
    setWindowTitle(Title);
    auto *form = new QFormLayout(this);
    auto *channels = new QHBoxLayout;
    const char *const captions[] = {"A", "B", "A and B"};
    for (int k = 0; k < 3; ++k) {
        channelChoice[k] = new QRadioButton(QLatin1String(captions[k]), this);
        channelChoice[k]->setObjectName(QStringLiteral("OptionChannel%1").arg(k));
        channels->addWidget(channelChoice[k]);
    }
    channelChoice[channel == 1 ? 1 : 0]->setChecked(true);
    form->addRow(QStringLiteral("Channels:"), channels);

    format = new QComboBox(this);
    format->setObjectName(QStringLiteral("ComboFormat"));
    for (const FormatEntry &entry : Formats)
        format->addItem(QStringLiteral("%1 (*.%2)")
                            .arg(QLatin1String(entry.caption), QLatin1String(entry.suffix)));
    form->addRow(QStringLiteral("Format:"), format);
    octavePoints = new QCheckBox(QStringLiteral("On 1/24-octave points (20 Hz to 20 kHz)"), this);
    octavePoints->setObjectName(QStringLiteral("CheckOctave"));
    octavePoints->setToolTip(QStringLiteral("Else the table has the graph's own 576 points"));
    form->addRow(QString(), octavePoints);
    connect(format, &QComboBox::currentIndexChanged, this, &FrmExport::FormatChosen);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    auto *save = buttons->addButton(QStringLiteral("Save..."), QDialogButtonBox::ActionRole);
    save->setObjectName(QStringLiteral("CommandSave"));
    connect(save, &QPushButton::clicked, this, &FrmExport::Save);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    form->addRow(buttons);
}

Report::Channels FrmExport::ChosenChannels() const
{
    if (channelChoice[2]->isChecked())
        return Report::Channels::Both;
    return channelChoice[1]->isChecked() ? Report::Channels::B : Report::Channels::A;
}

void FrmExport::FormatChosen()
{
    octavePoints->setEnabled(format->currentIndex() == static_cast<int>(Report::Format::Csv));
}

void FrmExport::Save()
{
    const FormatEntry &entry = Formats[format->currentIndex()];
    QString path =
        Messages::AskFileName({Messages::FileMode::Save, Title,
                               QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation),
                               format->currentText()});
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().compare(QLatin1String(entry.suffix), Qt::CaseInsensitive) != 0)
        path += QLatin1Char('.') + QLatin1String(entry.suffix);
    const QString error = Report::WriteResponse(
        path, ChosenChannels(),
        octavePoints->isChecked() ? Report::Points::TwentyFourthOctave : Report::Points::Program);
    if (!error.isEmpty()) {
        Messages::Tell(error, Title, Messages::Icon::Exclamation);
        return;
    }
    accept();
}
