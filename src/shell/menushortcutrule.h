#pragma once

#include <QObject>

class QWidget;

// A menu command's shortcut wins over a text field's own editing key: with
// the focus in an entry field, Ctrl+X exports the shift data and Ctrl+S saves,
// as the program's users know it, instead of cutting the field's text. Keys
// that no menu command of the window carries stay the field's own.
class MenuShortcutRule : public QObject {
    Q_OBJECT

public:
    explicit MenuShortcutRule(QWidget* window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool isMenuShortcut(const QKeySequence& key) const;

    QWidget* m_window;
};
