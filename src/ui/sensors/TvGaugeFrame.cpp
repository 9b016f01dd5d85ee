#include "TvGaugeFrame.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QSpacerItem>
#include <QVBoxLayout>

QVBoxLayout *TvGaugeFrame::build(QWidget *gauge, const QRect &rect, int spacing)
{
    gauge->setGeometry(rect);
    auto *frame = new QFrame(gauge);
    frame->setObjectName(QStringLiteral("Frame"));
    frame->setFrameStyle(QFrame::StyledPanel | QFrame::Raised);
    frame->setGeometry(0, 0, rect.width(), rect.height());

    auto *inner = new QWidget(frame);
    inner->setObjectName(QStringLiteral("LayoutSensor"));
    inner->setGeometry(QRect(QPoint(6, 6), QPoint(rect.width() - 3, rect.height() - 6)));
    auto *layout = new QVBoxLayout(inner);
    layout->setObjectName(QStringLiteral("LayoutSensor"));
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(spacing);
    return layout;
}

QLabel *TvGaugeFrame::caption(QWidget *parent, const char *name)
{
    auto *label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setAlignment(Qt::AlignCenter);
    return label;
}

QHBoxLayout *TvGaugeFrame::centredRow(const char *name, QWidget *middle)
{
    auto *row = new QHBoxLayout;
    row->setObjectName(QLatin1String(name));
    row->addItem(new QSpacerItem(20, 20, QSizePolicy::Expanding, QSizePolicy::Minimum));
    row->addWidget(middle);
    row->addItem(new QSpacerItem(20, 20, QSizePolicy::Expanding, QSizePolicy::Minimum));
    return row;
}

void TvGaugeFrame::setPointSize(QWidget *widget, int size)
{
    if (size <= 0)
        return;
    QFont font = widget->font();
    font.setPointSize(size);
    widget->setFont(font);
}

void TvGaugeFrame::hideAll(QWidget *gauge)
{
    for (QWidget *child : gauge->findChildren<QWidget *>())
        child->hide();
    gauge->hide();
}
