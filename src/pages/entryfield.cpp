#include "entryfield.h"

#include "entrygroup.h"
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

namespace {

// Marks the group busy for the length of a check or commit. The message box
// of a rejection, or a link box inside the write, moves the focus about;
// none of those moves may start another check.
class BusyScope {
public:
    explicit BusyScope(EntryGroup& group) : m_group(group), m_was(group.busy) {
        m_group.busy = true;
    }
    ~BusyScope() { m_group.busy = m_was; }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    EntryGroup& m_group;
    bool m_was;
};

} // namespace

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
    const QString opening =
        m_params.fixedOpening.isEmpty()
            ? QStringLiteral("Only a Number Between %1 and ").arg(m_spinner->minimum())
            : m_params.fixedOpening;
    return opening + QString::number(m_spinner->maximum()) + QStringLiteral(" can be Entered");
}

bool EntryField::eventFilter(QObject* watched, QEvent* event) {
    if (watched != m_field || m_group.closed)
        return false;
    switch (event->type()) {
    case QEvent::FocusIn:
        if (!m_group.busy && !m_entered)
            enter();
        return false;
    case QEvent::FocusOut: {
        // Focus that goes to another window or a popup (a message box, the
        // field's context menu, another program) comes back: not a leave.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (m_group.busy || !m_entered || reason == Qt::ActiveWindowFocusReason ||
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
    m_group.escapePending = false;
    m_saved = numericValue(m_field->text());
    SelectAllText(m_field);
}

bool EntryField::keyPressed(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: {
        // Enter moves on as Tab does; the leave check runs as the focus goes.
        m_group.escapePending = false;
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
        m_group.escapePending = false;
        if (event->key() == Qt::Key_Up)
            m_spinner->stepUp();
        else
            m_spinner->stepDown();
        return true;
    default:
        // Everything else is typed as it is: the check catches what is not a number.
        m_group.escapePending = false;
        return false;
    }
}

void EntryField::escape() {
    m_field->setText(QString::number(m_saved));
    if (m_group.escapePending) {
        // Second Escape: give up the edit and leave the field; the restored
        // value passes the leave check and is committed.
        m_group.escapePending = false;
        m_editing = false;
        m_group.defaultButton()->setFocus(Qt::OtherFocusReason);
    } else {
        m_group.escapePending = true;
        SelectAllText(m_field);
    }
}

void EntryField::leaveCheck() {
    BusyScope busy(m_group);
    if (!m_params.uncheckedText.isEmpty() && m_field->text() == m_params.uncheckedText) {
        m_group.escapePending = false;
        m_editing = false;
        return;
    }
    if (m_params.rewrite)
        m_field->setText(m_params.rewrite(m_field->text()));
    const std::optional<double> value = wholeNumber(m_field->text());
    const bool accepted = value && *value >= m_spinner->minimum() && *value <= m_spinner->maximum();
    if (!accepted) {
        m_group.prompts().message(m_params.title, rangeMessage(), Prompts::Icon::Information,
                                  Prompts::Buttons::Ok);
        restoreSaved();
        return;
    }
    if (m_params.commitOnLeave &&
        commit({nearestInt(*value), m_field->text(), m_saved, false}) == Verdict::Refused) {
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
    m_group.escapePending = false;
    // The spinner commits here, so this field going to the default button is
    // no leave to check (another field that held the focus is checked as usual).
    m_entered = false;
    m_group.defaultButton()->setFocus(Qt::OtherFocusReason);
    BusyScope busy(m_group);
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
