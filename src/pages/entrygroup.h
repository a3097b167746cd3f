#pragma once

#include "entryfield.h"

#include <QObject>
#include <QVector>

class Prompts;
class QPushButton;
class QWidget;
class RSComm;

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

    bool escapePending = false;
    // True while a leave check or a spinner commit runs.
    bool busy = false;
    bool closed = false;

private:
    RSComm& m_link;
    Prompts& m_prompts;
    QPushButton* m_defaultButton;
    QVector<EntryField*> m_fields;
};

// The page's hidden default button (caption "-"): it takes the focus when a
// field is left without moving to a neighbour. It has no size, so it is never
// seen, yet it can hold the focus.
QPushButton* createDefaultButton(QWidget* parent);
