#pragma once

#include <QWidget>

class QLineEdit;
class QToolButton;

// The up/down arrow pair beside an entry field. It has no text of its own:
// it is bound to its field (the buddy), steps the number the field shows by
// one within Min..Max, and tells when it changed the field. The entry
// fields read Min and Max from here when they check a value. The arrows
// never take the focus, so stepping does not count as leaving the field.
class Spinner : public QWidget {
    Q_OBJECT

public:
    explicit Spinner(QWidget* parent = nullptr);

    void setRange(int minimum, int maximum);
    int minimum() const { return m_minimum; }
    int maximum() const { return m_maximum; }

    void setBuddy(QLineEdit* buddy);
    QLineEdit* buddy() const { return m_buddy; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    // What a click on the up or down arrow does.
    void stepUp() { stepBy(1); }
    void stepDown() { stepBy(-1); }
    // Steps the number the field shows by steps, within Min..Max.
    void stepBy(int steps);

signals:
    // The arrows have put a new value into the buddy field.
    void changed();

private:
    QToolButton* m_up = nullptr;
    QToolButton* m_down = nullptr;
    QLineEdit* m_buddy = nullptr;
    int m_minimum = 0;
    int m_maximum = 100;
    int m_value = 0;
};
