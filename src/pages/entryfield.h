#pragma once

#include <QObject>
#include <QString>

#include <functional>

class EntryGroup;
class QEvent;
class QKeyEvent;
class QLineEdit;
class QWidget;
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
