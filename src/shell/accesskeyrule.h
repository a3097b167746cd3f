#pragma once

#include <QHash>
#include <QKeySequence>
#include <QObject>
#include <QPointer>

#include <functional>

class QWidget;

// The access-key rule the program's users know from their other tools: an
// access key (Alt+letter) of a control on the shown page wins over a menu
// title with the same letter, every time. Left to itself the toolkit takes
// turns between the two, so one press of Alt+E opens the Edit menu and the
// next lands in a live field where an arrow key writes to the board. The menu
// bar stays reachable by F10, and by the letter alone once it is active.
//
// When one control on the page has the key, the key does what that control's
// key does alone: a button is clicked, a label's buddy takes the focus, a tab
// is chosen. When several page controls share it, they take turns, as they
// would without a menu bar.
class AccessKeyRule : public QObject {
    Q_OBJECT

public:
    // page() gives the page shown now (or nullptr).
    AccessKeyRule(QWidget* window, std::function<QWidget*()> page);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The page's enabled, visible controls whose access key is key, in
    // creation order; a tab bar counts once per tab.
    struct Target {
        QWidget* widget = nullptr;
        int tab = -1;
    };
    QList<Target> pageTargets(const QKeySequence& key) const;
    static void activate(const Target& target);

    QWidget* m_window;
    std::function<QWidget*()> m_page;
    QHash<QString, int> m_turn;
};
