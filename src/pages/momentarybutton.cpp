#include "momentarybutton.h"

#include "rscomm.h"

#include <QApplication>
#include <QEvent>
#include <QPushButton>

namespace {

// The caption as the user reads it: "&Reset Trips" is "Reset Trips".
QString plainCaption(const QString& text) {
    QString plain;
    for (int i = 0; i < text.size(); ++i) {
        if (text.at(i) == QLatin1Char('&') && i + 1 < text.size())
            ++i; // "&&" stands for one "&"
        plain += text.at(i);
    }
    return plain;
}

} // namespace

MomentaryButton::MomentaryButton(RSComm& link, QPushButton* button, QString target)
    : QObject(button), m_link(link), m_button(button), m_target(std::move(target)) {
    m_button->installEventFilter(this);
}

MomentaryButton::~MomentaryButton() {
    if (m_held)
        endHold();
}

void MomentaryButton::press() {
    m_held = true;
    // While held every event of the program passes here: a release the
    // button never sees (it went to a box that took the grab) still counts.
    qApp->installEventFilter(this);
    m_link.holdOutput(m_target, plainCaption(m_button->text()));
}

void MomentaryButton::endHold() {
    m_held = false;
    qApp->removeEventFilter(this);
    m_link.releaseOutput(m_target);
}

bool MomentaryButton::endsHold(QObject* watched, const QEvent& event) const {
    switch (event.type()) {
    case QEvent::MouseButtonRelease:
        return true;
    case QEvent::WindowBlocked:
    case QEvent::WindowDeactivate:
        return watched == m_button->window();
    case QEvent::Hide:
        return watched == m_button || watched == m_button->window();
    case QEvent::EnabledChange:
        return watched == m_button && !m_button->isEnabled();
    default:
        return false;
    }
}

bool MomentaryButton::eventFilter(QObject* watched, QEvent* event) {
    if (m_held) {
        if (endsHold(watched, *event))
            endHold();
    } else if (watched == m_button && m_button->isEnabled() &&
               (event->type() == QEvent::MouseButtonPress ||
                event->type() == QEvent::MouseButtonDblClick)) {
        press();
    }
    return false;
}
