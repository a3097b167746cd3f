#pragma once

#include <QObject>
#include <QString>

class QPushButton;
class RSComm;

// A push button that holds a board bit while a mouse button is down on it:
// "1" when any mouse button goes down, "0" when it comes up. The keyboard
// writes nothing. Each write is skipped while the link has failed.
//
// A release whose write was skipped leaves the bit at 1 on the board (the
// machine would keep resetting, or keep ending the shift). The button keeps
// that release pending and writes it once the link is sound again; a button
// destroyed while held writes its release first.
class MomentaryButton : public QObject {
    Q_OBJECT

public:
    MomentaryButton(RSComm& link, QPushButton* button, QString target);
    ~MomentaryButton() override;

    QPushButton* button() const { return m_button; }
    const QString& target() const { return m_target; }
    bool releasePending() const { return m_releasePending; }

    // Writes a pending release if the link is sound; true when it did (one
    // board exchange).
    bool writePendingRelease();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool write(const char* value);

    RSComm& m_link;
    QPushButton* m_button;
    QString m_target;
    bool m_held = false;
    bool m_releasePending = false;
};
