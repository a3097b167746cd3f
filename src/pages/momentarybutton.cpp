#include "momentarybutton.h"

#include "rscomm.h"

#include <QEvent>
#include <QPushButton>

MomentaryButton::MomentaryButton(RSComm& link, QPushButton* button, QString target)
    : QObject(button), m_link(link), m_button(button), m_target(std::move(target)) {
    m_button->installEventFilter(this);
}

MomentaryButton::~MomentaryButton() {
    if (m_held && m_link.OnlineMode)
        write("0");
}

bool MomentaryButton::write(const char* value) {
    if (m_link.CommError)
        return false;
    m_link.RSWrite(m_target, QString::fromLatin1(value));
    return true;
}

bool MomentaryButton::writePendingRelease() {
    if (!m_releasePending || m_link.CommError)
        return false;
    m_releasePending = false;
    write("0");
    return true;
}

bool MomentaryButton::eventFilter(QObject* watched, QEvent* event) {
    if (watched != m_button)
        return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        if (m_button->isEnabled() && !m_held) {
            m_held = true;
            // A fresh press supersedes a release still owed from before.
            if (write("1"))
                m_releasePending = false;
        }
        break;
    case QEvent::MouseButtonRelease:
        if (m_held) {
            m_held = false;
            if (!write("0"))
                m_releasePending = true;
        }
        break;
    default:
        break;
    }
    return false;
}
