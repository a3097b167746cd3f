#include "entrygroup.h"

#include <QPushButton>

EntryGroup::EntryGroup(RSComm& link, Prompts& prompts, QPushButton* defaultButton, QObject* parent)
    : QObject(parent), m_link(link), m_prompts(prompts), m_defaultButton(defaultButton) {}

EntryField* EntryGroup::add(QLineEdit* field, Spinner* spinner, EntryField::Params params) {
    auto* entry = new EntryField(*this, field, spinner, std::move(params));
    m_fields.append(entry);
    return entry;
}

void EntryGroup::clearEditing() {
    for (EntryField* field : std::as_const(m_fields))
        field->clearEditing();
}

void EntryGroup::close() {
    closed = true;
    clearEditing();
}

QPushButton* createDefaultButton(QWidget* parent) {
    auto* button = new QPushButton(QStringLiteral("-"), parent);
    button->setObjectName(QStringLiteral("cmdDefault"));
    button->setFocusPolicy(Qt::StrongFocus);
    button->setAutoDefault(false);
    button->setFlat(true);
    button->setFixedSize(0, 0);
    return button;
}
