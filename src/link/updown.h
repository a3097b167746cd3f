#pragma once

#include <QWidget>

class QLineEdit;
class QToolButton;

// A small up-down spinner bound to a text field: the arrows step the
// field's number within Minimum..Maximum, while the field itself keeps
// accepting free text (its owner validates it when it is left). The arrows
// do not take the focus, so stepping does not count as leaving the field.
class UpDown : public QWidget {
public:
    explicit UpDown(QWidget* parent = nullptr);

    void setBuddy(QLineEdit* buddy) { m_buddy = buddy; }
    void setRange(int minimum, int maximum);
    int minimum() const { return m_minimum; }
    int maximum() const { return m_maximum; }

    void stepBy(int steps);

private:
    QLineEdit* m_buddy = nullptr;
    QToolButton* m_up = nullptr;
    QToolButton* m_down = nullptr;
    int m_minimum = 0;
    int m_maximum = 100;
};
