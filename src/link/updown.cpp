#include "updown.h"

#include "textnumber.h"

#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

UpDown::UpDown(QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_up = new QToolButton(this);
    m_up->setObjectName(QStringLiteral("up"));
    m_up->setArrowType(Qt::UpArrow);
    m_down = new QToolButton(this);
    m_down->setObjectName(QStringLiteral("down"));
    m_down->setArrowType(Qt::DownArrow);
    for (QToolButton* button : {m_up, m_down}) {
        button->setFocusPolicy(Qt::NoFocus);
        button->setAutoRepeat(true);
        button->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
        layout->addWidget(button);
    }
    connect(m_up, &QToolButton::clicked, this, [this] { stepBy(1); });
    connect(m_down, &QToolButton::clicked, this, [this] { stepBy(-1); });
}

void UpDown::setRange(int minimum, int maximum) {
    m_minimum = minimum;
    m_maximum = qMax(minimum, maximum);
}

void UpDown::stepBy(int steps) {
    if (!m_buddy)
        return;
    const qint64 current =
        qBound(qint64(m_minimum), leadingInteger(m_buddy->text()), qint64(m_maximum));
    const qint64 next = qBound(qint64(m_minimum), current + steps, qint64(m_maximum));
    m_buddy->setText(QString::number(next));
}
