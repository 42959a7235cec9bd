#include "presets/ui/NumberedList.h"

#include <QEvent>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPainter>
#include <QScrollBar>

namespace {

/// The numbers beside the rows of a list, wherever the list has scrolled them.
class NumberColumn : public QWidget
{
public:
    NumberColumn(QListWidget *list, int firstNumber, QWidget *parent)
        : QWidget(parent), list(list), firstNumber(firstNumber)
    {
        setObjectName(QStringLiteral("Numbers"));
        setFont(list->font());
        setFixedWidth(fontMetrics().horizontalAdvance(QStringLiteral("0000")));
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        const QWidget *viewport = list->viewport();
        const int top = mapFromGlobal(viewport->mapToGlobal(QPoint(0, 0))).y();
        painter.setClipRect(0, top, width(), viewport->height());
        for (int row = 0; row < list->count(); ++row) {
            const QRect item = list->visualItemRect(list->item(row));
            if (item.isEmpty())
                continue;
            painter.drawText(QRect(0, top + item.top(), width(), item.height()), Qt::AlignCenter,
                             QStringLiteral("%1").arg(firstNumber + row, 2, 10, QLatin1Char('0')));
        }
    }

private:
    const QListWidget *list;
    int firstNumber;
};

} // namespace

NumberedList::NumberedList(int firstNumber, int count, int visibleRows, QWidget *parent)
    : QWidget(parent), List1(new QListWidget(this))
{
    List1->setObjectName(QStringLiteral("List1"));
    List1->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    List1->setUniformItemSizes(true);
    List1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    const bool scrolls = count > visibleRows;
    List1->setVerticalScrollBarPolicy(scrolls ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    List1->addItem(QStringLiteral(" "));
    const int rowHeight = List1->sizeHintForRow(0);
    List1->clear();
    const int frame = 2 * List1->frameWidth();
    const int scrollBar = scrolls ? List1->verticalScrollBar()->sizeHint().width() : 0;
    List1->setFixedSize(List1->fontMetrics().horizontalAdvance(QStringLiteral("MMMMMMMMMM")) +
                            frame + scrollBar,
                        visibleRows * rowHeight + frame);
    // The column repaints whenever the list's rows do, so it follows every scroll.
    List1->viewport()->installEventFilter(this);
    numbers = new NumberColumn(List1, firstNumber, this);

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(numbers);
    layout->addWidget(List1);
}

void NumberedList::SetNames(const QStringList &names)
{
    List1->clear();
    List1->addItems(names);
}

bool NumberedList::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == List1->viewport() && event->type() == QEvent::Paint)
        numbers->update();
    return QWidget::eventFilter(watched, event);
}
