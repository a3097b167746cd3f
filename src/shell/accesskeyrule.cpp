#include "accesskeyrule.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QShortcutEvent>
#include <QTabBar>
#include <QWidget>

AccessKeyRule::AccessKeyRule(QWidget* window, std::function<QWidget*()> page)
    : QObject(window), m_window(window), m_page(std::move(page)) {
    qApp->installEventFilter(this);
}

QList<AccessKeyRule::Target> AccessKeyRule::pageTargets(const QKeySequence& key) const {
    QList<Target> targets;
    QWidget* page = m_page();
    if (!page)
        return targets;
    const auto usable = [](const QWidget* w) { return w->isVisible() && w->isEnabled(); };
    for (QWidget* widget : page->findChildren<QWidget*>()) {
        if (!usable(widget))
            continue;
        if (auto* label = qobject_cast<QLabel*>(widget)) {
            if (label->buddy() && usable(label->buddy()) &&
                QKeySequence::mnemonic(label->text()) == key)
                targets.append({label, -1});
        } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
            if (QKeySequence::mnemonic(button->text()) == key)
                targets.append({button, -1});
        } else if (auto* tabs = qobject_cast<QTabBar*>(widget)) {
            for (int i = 0; i < tabs->count(); ++i)
                if (tabs->isTabEnabled(i) && QKeySequence::mnemonic(tabs->tabText(i)) == key)
                    targets.append({tabs, i});
        }
    }
    return targets;
}

void AccessKeyRule::activate(const Target& target) {
    if (auto* tabs = qobject_cast<QTabBar*>(target.widget)) {
        tabs->setCurrentIndex(target.tab);
    } else if (auto* label = qobject_cast<QLabel*>(target.widget)) {
        label->buddy()->setFocus(Qt::ShortcutFocusReason);
    } else if (auto* button = qobject_cast<QAbstractButton*>(target.widget)) {
        button->setFocus(Qt::ShortcutFocusReason);
        button->animateClick();
    }
}

bool AccessKeyRule::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::Shortcut)
        return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != m_window)
        return false;
    auto* shortcut = static_cast<QShortcutEvent*>(event);
    // An open menu takes its letters itself; only the page's keys are ours.
    if (!shortcut->isAmbiguous() || QApplication::activePopupWidget())
        return false;
    const QList<Target> targets = pageTargets(shortcut->key());
    if (targets.isEmpty())
        return false;
    // The same page control (or the page's controls in turn) every time,
    // whichever of the contenders the toolkit picked for this press.
    int& turn = m_turn[shortcut->key().toString()];
    if (targets.size() == 1)
        turn = 0;
    activate(targets.at(turn % targets.size()));
    turn = (turn + 1) % targets.size();
    return true;
}
