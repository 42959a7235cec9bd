#include "report/ui/FrmSheet.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QLabel>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QStandardPaths>
#include <QVBoxLayout>

#include "report/SettingsSheet.h"
#include "shell/Messages.h"

namespace {

const QString Title = QStringLiteral("Settings sheet");

QPushButton *AddButton(QDialogButtonBox *buttons, const QString &name, const QString &caption)
{
    auto *button = buttons->addButton(caption, QDialogButtonBox::ActionRole);
    button->setObjectName(name);
    return button;
}

} // namespace

FrmSheet::FrmSheet(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FrmSheet"));
    setWindowTitle(Title);
    auto *layout = new QVBoxLayout(this);
    auto *text = new QLabel(QStringLiteral("One A4 page with the preset, the date, the unit, the "
                                           "response graph\nand every setting of both channels."),
                            this);
    layout->addWidget(text);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(AddButton(buttons, QStringLiteral("CommandSavePdf"), QStringLiteral("Save PDF...")),
            &QPushButton::clicked, this, &FrmSheet::SavePdf);
    connect(AddButton(buttons, QStringLiteral("CommandPrint"), QStringLiteral("Print...")),
            &QPushButton::clicked, this, &FrmSheet::Print);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

bool FrmSheet::PrintSheet(QPrinter &printer)
{
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    Report::PaintSheet(painter, Report::CurrentSheetFacts());
    return painter.end();
}

void FrmSheet::SavePdf()
{
    QString path =
        Messages::AskFileName({Messages::FileMode::Save, Title,
                               QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation),
                               QStringLiteral("PDF (*.pdf)")});
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().compare(QLatin1String("pdf"), Qt::CaseInsensitive) != 0)
        path += QStringLiteral(".pdf");
    const QString error = Report::WriteSheetPdf(path, Report::CurrentSheetFacts());
    if (!error.isEmpty())
        Messages::Tell(error, Title, Messages::Icon::Exclamation);
}

void FrmSheet::Print()
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::A4));
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (!PrintSheet(printer))
        Messages::Tell(QStringLiteral("The printer could not be used."), Title,
                       Messages::Icon::Exclamation);
}
