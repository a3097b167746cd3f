#pragma once

#include <QObject>
#include <QString>

class QPushButton;
class RSComm;

// A push button that holds a board bit while a mouse button is down on it:
// "1" when any mouse button goes down, "0" when the hold ends. The keyboard
// writes nothing. The link keeps the release owed until it has reached the
// board (see RSComm::holdOutput); the button only says when its hold began
// and when it ended.
//
// The hold ends with whatever stops the press from being a press: a mouse
// button released anywhere (a box that took the grab receives it), the
// button's window blocked by a modal window, deactivated or hidden, the
// button hidden or disabled, the button destroyed with its page.
class MomentaryButton : public QObject {
    Q_OBJECT

public:
    MomentaryButton(RSComm& link, QPushButton* button, QString target);
    ~MomentaryButton() override;

    QPushButton* button() const { return m_button; }
    const QString& target() const { return m_target; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void press();
    void endHold();
    bool endsHold(QObject* watched, const QEvent& event) const;

    RSComm& m_link;
    QPushButton* m_button;
    QString m_target;
    bool m_held = false;
};
