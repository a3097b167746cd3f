#include "menushortcutrule.h"

#include <algorithm>
#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

MenuShortcutRule::MenuShortcutRule(QWidget* window) : QObject(window), m_window(window) {
    qApp->installEventFilter(this);
}

bool MenuShortcutRule::isMenuShortcut(const QKeySequence& key) const {
    const QList<QAction*> actions = m_window->findChildren<QAction*>();
    return std::any_of(actions.begin(), actions.end(), [&key](const QAction* action) {
        return action->isEnabled() && action->shortcuts().contains(key);
    });
}

bool MenuShortcutRule::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::ShortcutOverride)
        return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != m_window)
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    if (!isMenuShortcut(QKeySequence(key->keyCombination())))
        return false;
    // Left unaccepted, the override goes no further and the shortcut map
    // runs the menu command.
    event->ignore();
    return true;
}
