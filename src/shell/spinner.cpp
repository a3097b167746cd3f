#include "spinner.h"

#include "textnumber.h"

#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

QToolButton* makeArrow(Qt::ArrowType arrow, const QString& name, QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setObjectName(name);
    button->setArrowType(arrow);
    button->setAutoRepeat(true);
    // The arrows never take the focus: the field stays the place being edited
    // and Tab moves from field to field.
    button->setFocusPolicy(Qt::NoFocus);
    // The pair shares the spinner's height, however small (see sizeHint).
    button->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Ignored);
    return button;
}

} // namespace

Spinner::Spinner(QWidget* parent) : QWidget(parent) {
    m_up = makeArrow(Qt::UpArrow, QStringLiteral("up"), this);
    m_down = makeArrow(Qt::DownArrow, QStringLiteral("down"), this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_up);
    layout->addWidget(m_down);
    setFocusPolicy(Qt::NoFocus);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    connect(m_up, &QToolButton::clicked, this, &Spinner::stepUp);
    connect(m_down, &QToolButton::clicked, this, &Spinner::stepDown);
}

void Spinner::setRange(int minimum, int maximum) {
    m_minimum = minimum;
    m_maximum = maximum;
    m_value = std::clamp(m_value, m_minimum, m_maximum);
}

void Spinner::setBuddy(QLineEdit* buddy) {
    m_buddy = buddy;
    updateGeometry();
}

QSize Spinner::sizeHint() const {
    // As tall as its field, like the arrows of a spin box, so a row of
    // fields is no taller than a field and a page of them fits the window.
    const int height = m_buddy ? m_buddy->sizeHint().height() : 2 * m_up->sizeHint().height();
    return {m_up->sizeHint().width(), height};
}

QSize Spinner::minimumSizeHint() const {
    return sizeHint();
}

void Spinner::stepBy(int steps) {
    if (!m_buddy)
        return;
    // Like the arrows of the original control, the step starts from the number
    // the field shows; a field showing no number keeps the last position.
    const std::optional<double> shown = wholeNumber(m_buddy->text());
    // The control's own value never leaves Min..Max, so a field showing a
    // number beyond the range steps from the nearest limit.
    const qint64 base =
        std::clamp<qint64>(shown ? nearestInt(*shown) : m_value, m_minimum, m_maximum);
    m_value = static_cast<int>(std::clamp<qint64>(base + steps, m_minimum, m_maximum));
    const QString text = QString::number(m_value);
    if (text == m_buddy->text())
        return; // already at the limit
    m_buddy->setText(text);
    emit changed();
}
