#include "shell/ui/FrmVum.h"

#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

FrmVum::FrmVum(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      ProgressBar1(new QProgressBar(this))
{
    setObjectName(QStringLiteral("FrmVum"));
    setWindowTitle(QStringLiteral("MX-RF418"));
    auto *layout = new QVBoxLayout(this);
    auto *label = new QLabel(QStringLiteral(" Please wait, loading controls...."), this);
    label->setObjectName(QStringLiteral("Label1"));
    layout->addWidget(label);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setValue(0);
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setMinimumWidth(280);
    layout->addWidget(ProgressBar1);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}
