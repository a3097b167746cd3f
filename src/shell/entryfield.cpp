#include "entryfield.h"

#include "prompts.h"
#include "rscomm.h"
#include "spinner.h"
#include "textnumber.h"
#include "windowhelpers.h"

#include <QCoreApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>

EntryField::EntryField(EntryGroup& group, QLineEdit* field, Spinner* spinner, Params params)
    : QObject(&group), m_group(group), m_field(field), m_spinner(spinner),
      m_params(std::move(params)) {
    m_spinner->setBuddy(m_field);
    // Room for the longest value a page shows (nine digits of a counter).
    m_field->setMaximumWidth(
        m_field->fontMetrics().horizontalAdvance(QStringLiteral("0000000000")));
    m_field->installEventFilter(this);
    connect(m_spinner, &Spinner::changed, this, &EntryField::spinnerChanged);
}

void EntryField::showValue(const QString& text) {
    if (!m_editing && m_field->text() != text)
        m_field->setText(text);
}

QString EntryField::rangeMessage() const {
    if (m_params.fixedOpening.isEmpty())
        return rangeText(m_spinner->minimum(), m_spinner->maximum());
    return m_params.fixedOpening + QString::number(m_spinner->maximum()) +
           QStringLiteral(" can be Entered");
}

QString EntryField::rangeText(qint32 minimum, qint32 maximum) {
    return QStringLiteral("Only a Number Between %1 and %2 can be Entered")
        .arg(minimum)
        .arg(maximum);
}

std::optional<qint32> EntryField::checkedValue(const QString& text, qint32 minimum,
                                               qint32 maximum) {
    const std::optional<double> value = wholeNumber(text);
    if (!value || *value < minimum || *value > maximum)
        return std::nullopt;
    return nearestInt(*value);
}

bool EntryField::eventFilter(QObject* watched, QEvent* event) {
    if (watched != m_field || m_group.m_closed)
        return false;
    switch (event->type()) {
    case QEvent::FocusIn:
        if (!m_group.m_busy && !m_entered)
            enter();
        return false;
    case QEvent::FocusOut: {
        // Focus that goes to another window or a popup (a message box, the
        // field's context menu, another program) comes back: not a leave.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (m_group.m_busy || !m_entered || reason == Qt::ActiveWindowFocusReason ||
            reason == Qt::PopupFocusReason)
            return false;
        m_entered = false;
        // The field finishes its own focus-out (which drops the selection)
        // before the check, whose rejection selects the restored text.
        static_cast<QObject*>(m_field)->event(event);
        leaveCheck();
        return true;
    }
    case QEvent::MouseButtonRelease: {
        if (static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton)
            return false;
        // A click selects the whole text; the field handles the release first,
        // or it would drop that selection again.
        static_cast<QObject*>(m_field)->event(event);
        enter();
        return true;
    }
    case QEvent::KeyPress:
        return keyPressed(static_cast<QKeyEvent*>(event));
    default:
        return false;
    }
}

void EntryField::enter() {
    m_entered = true;
    m_editing = true;
    m_group.m_escapePending = false;
    m_saved = numericValue(m_field->text());
    SelectAllText(m_field);
}

bool EntryField::keyPressed(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: {
        // Enter moves on as Tab does; the leave check runs as the focus goes.
        m_group.m_escapePending = false;
        if (m_params.enterMovesTo) {
            m_params.enterMovesTo->setFocus(Qt::TabFocusReason);
            return true;
        }
        QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
        QCoreApplication::sendEvent(m_field, &tab);
        return true;
    }
    case Qt::Key_Escape:
        escape();
        return true;
    case Qt::Key_Up:
    case Qt::Key_Down:
        m_group.m_escapePending = false;
        if (event->key() == Qt::Key_Up)
            m_spinner->stepUp();
        else
            m_spinner->stepDown();
        return true;
    default:
        // Everything else is typed as it is: the check catches what is not a number.
        m_group.m_escapePending = false;
        return false;
    }
}

void EntryField::escape() {
    m_field->setText(QString::number(m_saved));
    if (m_group.m_escapePending) {
        // Second Escape: give up the edit and leave the field; the restored
        // value passes the leave check and is committed.
        m_group.m_escapePending = false;
        m_editing = false;
        m_group.defaultButton()->setFocus(Qt::OtherFocusReason);
    } else {
        m_group.m_escapePending = true;
        SelectAllText(m_field);
    }
}

void EntryField::leaveCheck() {
    EntryGroup::BusyScope busy(m_group);
    if (!m_params.uncheckedText.isEmpty() && m_field->text() == m_params.uncheckedText) {
        m_group.m_escapePending = false;
        m_editing = false;
        return;
    }
    if (m_params.rewrite)
        m_field->setText(m_params.rewrite(m_field->text()));
    const std::optional<qint32> value =
        checkedValue(m_field->text(), m_spinner->minimum(), m_spinner->maximum());
    if (!value) {
        m_group.prompts().message(m_params.title, rangeMessage(), Prompts::Icon::Information,
                                  Prompts::Buttons::Ok);
        restoreSaved();
        return;
    }
    if (m_params.commitOnLeave &&
        commit({*value, m_field->text(), m_saved, false}) == Verdict::Refused) {
        restoreSaved();
        return;
    }
    m_editing = false;
}

void EntryField::restoreSaved() {
    m_field->setText(QString::number(m_saved));
    if (m_field->isEnabled() && m_field->isVisible())
        m_field->setFocus(Qt::OtherFocusReason);
    m_entered = m_field->hasFocus();
    SelectAllText(m_field);
}

void EntryField::spinnerChanged() {
    m_editing = false;
    m_group.m_escapePending = false;
    // The spinner commits here, so this field going to the default button is
    // no leave to check (another field that held the focus is checked as usual).
    m_entered = false;
    m_group.defaultButton()->setFocus(Qt::OtherFocusReason);
    EntryGroup::BusyScope busy(m_group);
    if (commit({numericValue(m_field->text()), m_field->text(), m_saved, true}) == Verdict::Refused)
        m_field->setText(QString::number(m_saved));
}

EntryField::Verdict EntryField::commit(const Accepted& accepted) {
    if (m_params.commit)
        return m_params.commit(accepted);
    storeAndWrite(accepted);
    return Verdict::Kept;
}

void EntryField::storeAndWrite(const Accepted& accepted) {
    if (m_params.store)
        m_params.store(accepted.value);
    if (m_params.target.isEmpty() || !linkUp())
        return;
    // On a leave the board gets the integer the document keeps, not the text
    // as typed: the link drops a decimal point rather than honouring it
    // ("12.5" would reach the board as 125 while the document holds 12). The
    // spinner only ever sets whole numbers.
    m_group.link().RSWrite(m_params.target,
                           accepted.fromSpinner ? accepted.text : QString::number(accepted.value));
}

bool EntryField::linkUp() const {
    const RSComm& link = m_group.link();
    return link.linkUp();
}

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
    m_closed = true;
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
