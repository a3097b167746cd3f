#pragma once

#include <QObject>
#include <QString>
#include <QVector>

#include <optional>

#include <functional>

class EntryGroup;
class Prompts;
class QEvent;
class QKeyEvent;
class QLineEdit;
class QPushButton;
class QWidget;
class RSComm;
class Spinner;

// The editing behaviour every numeric field of the pages shares: a free-text
// field with its up/down spinner.
//
// Entering the field (focus or click) remembers the value in force; Enter
// moves on as Tab does; Escape restores the remembered value (a second
// Escape also leaves the field to the page's default button); Up and Down
// step like the spinner. Leaving the field checks the whole text against the
// spinner's Min..Max: a rejected text brings a message, the remembered value
// and the focus back; an accepted one is committed: by default it goes to the
// store slot and, while the link is up, to the board. The spinner commits at
// once. A page whose values go elsewhere (PLS commands, fields without a
// document slot, a list) gives its own commit.
class EntryField : public QObject {
    Q_OBJECT

public:
    // A value that passed the range check (or that the spinner set).
    struct Accepted {
        qint32 value = 0; // nearest integer of the text
        QString text;     // the field's text
        qint32 saved = 0; // the value in force when the field was entered
        bool fromSpinner = false;
    };
    // What the page's commit made of it. Refused: the page has said why (its
    // own message); the field gets its saved value, the focus and a full
    // selection back, as after a failed range check.
    enum class Verdict { Kept, Refused };
    using Commit = std::function<Verdict(const Accepted&)>;

    struct Params {
        QString target;                    // board address written on commit; empty: none
        std::function<void(qint32)> store; // document slot for the accepted value; empty: none
        QString title;                     // title of the range message
        // Opening of the range message for pages whose lower bound is fixed,
        // e.g. "Only a Number Between 1 and "; empty: built from the spinner's Min.
        QString fixedOpening;
        // False for a field that only feeds a command: an accepted leave
        // neither stores nor writes (the spinner still writes the target).
        bool commitOnLeave = true;
        // What an accepted value does, in place of store and target.
        Commit commit;
        // A text the field may be left with, unchecked and uncommitted (a
        // marker the page shows in place of a value, e.g. "****").
        QString uncheckedText;
        // Rewrites the text as it is left, before the range check (e.g. a
        // number the board does not know becomes the one it means).
        std::function<QString(const QString&)> rewrite;
        // Where Enter moves the focus; null: on to the next control, as Tab.
        QWidget* enterMovesTo = nullptr;
    };

    EntryField(EntryGroup& group, QLineEdit* field, Spinner* spinner, Params params);

    QLineEdit* field() const { return m_field; }
    Spinner* spinner() const { return m_spinner; }

    // True from entering the field until its value is committed or abandoned;
    // the page's refresh leaves the text of such a field alone.
    bool isEditing() const { return m_editing; }
    void clearEditing() { m_editing = false; }

    // Shows a value from the page's refresh, unless the field is being edited.
    void showValue(const QString& text);

    // The range message for the current spinner bounds.
    QString rangeMessage() const;

    // The rule every numeric field is checked by, for a dialog that keeps
    // its own field: the whole text one decimal number ("5e1" is none) within
    // minimum..maximum gives its nearest integer; anything else nothing.
    static std::optional<qint32> checkedValue(const QString& text, qint32 minimum, qint32 maximum);
    // "Only a Number Between <minimum> and <maximum> can be Entered".
    static QString rangeText(qint32 minimum, qint32 maximum);

    // The default commit: the store slot, then the target while the link is
    // up and sound. The leave writes the integer the document keeps, the
    // spinner the text it set.
    void storeAndWrite(const Accepted& accepted);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void enter();
    bool keyPressed(QKeyEvent* event);
    void escape();
    void leaveCheck();
    void spinnerChanged();
    Verdict commit(const Accepted& accepted);
    // Saved value, focus and selection back after a refusal.
    void restoreSaved();
    bool linkUp() const;

    EntryGroup& m_group;
    QLineEdit* m_field;
    Spinner* m_spinner;
    Params m_params;
    qint32 m_saved = 0;
    bool m_editing = false;
    // The field holds the focus as far as this behaviour is concerned: set on
    // entering, cleared when the field is really left.
    bool m_entered = false;
};

// The entry fields of one page and what they share: the link and the prompts
// they commit and complain through, the page's hidden default button, the
// page's Escape-pending flag, and the guard that keeps one leave check from
// starting another while its message box (or a link box) is up.
class EntryGroup : public QObject {
    Q_OBJECT

public:
    EntryGroup(RSComm& link, Prompts& prompts, QPushButton* defaultButton, QObject* parent);

    // Binds a field and its spinner; the group owns the returned behaviour.
    EntryField* add(QLineEdit* field, Spinner* spinner, EntryField::Params params);
    EntryField* field(int index) const { return m_fields.at(index); }

    // Every field becomes idle: the refresh may show values in all of them
    // again. Used when the page changes between its online and offline look.
    void clearEditing();
    // The page is closing: edits in progress are dropped and no more checks run.
    void close();

    RSComm& link() const { return m_link; }
    Prompts& prompts() const { return m_prompts; }
    QPushButton* defaultButton() const { return m_defaultButton; }

    // Forgets a first Escape, so the next one restores again rather than
    // leaving the field.
    void forgetEscape() { m_escapePending = false; }

private:
    friend class EntryField;

    // Marks the group busy for the length of a check or commit. The message
    // box of a rejection, or a link box inside the write, moves the focus
    // about; none of those moves may start another check.
    class BusyScope {
    public:
        explicit BusyScope(EntryGroup& group) : m_group(group), m_was(group.m_busy) {
            m_group.m_busy = true;
        }
        ~BusyScope() { m_group.m_busy = m_was; }
        BusyScope(const BusyScope&) = delete;
        BusyScope& operator=(const BusyScope&) = delete;

    private:
        EntryGroup& m_group;
        bool m_was;
    };

    RSComm& m_link;
    Prompts& m_prompts;
    QPushButton* m_defaultButton;
    QVector<EntryField*> m_fields;
    bool m_escapePending = false;
    // True while a leave check or a spinner commit runs.
    bool m_busy = false;
    bool m_closed = false;
};

// The page's hidden default button (caption "-"): it takes the focus when a
// field is left without moving to a neighbour. It has no size, so it is never
// seen, yet it can hold the focus.
QPushButton* createDefaultButton(QWidget* parent);
