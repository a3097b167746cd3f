#include "heldoutputs.h"

#include "byteexchange.h"
#include "linkflags.h"
#include "memoryaccess.h"
#include "prompts.h"
#include "serialport.h"

#include <algorithm>

HeldOutputs::HeldOutputs(LinkFlags& flags, ByteExchange& exchange, MemoryAccess& memory)
    : m_flags(flags), m_exchange(exchange), m_memory(memory) {}

bool HeldOutputs::linkSound() const {
    const SerialPort* port = m_exchange.port();
    return m_flags.linkUp() && port && port->isOpen();
}

void HeldOutputs::press(const QString& add, const QString& caption) {
    if (!linkSound())
        return;
    // A fresh press takes over a release still owed for the same location.
    m_outputs.erase(std::remove_if(m_outputs.begin(), m_outputs.end(),
                                   [&](const Output& output) { return output.add == add; }),
                    m_outputs.end());
    m_outputs.push_back({add, caption});
    m_memory.writeRepeated(add, QStringLiteral("1"));
    // The "1" may have reached the board before the link failed.
    if (m_flags.CommError)
        endAllHolds();
}

void HeldOutputs::endHold(const QString& add) {
    for (Output& output : m_outputs)
        if (output.add == add)
            output.held = false;
}

void HeldOutputs::endAllHolds() {
    for (Output& output : m_outputs)
        output.held = false;
}

bool HeldOutputs::writeRelease(const QString& add) {
    const bool echoed = m_memory.writeRepeated(add, QStringLiteral("0"));
    return echoed && !m_flags.CommError;
}

void HeldOutputs::writeOwed() {
    for (auto it = m_outputs.begin(); it != m_outputs.end();) {
        if (it->held) {
            ++it;
            continue;
        }
        if (!linkSound() || !writeRelease(it->add))
            return;
        it = m_outputs.erase(it);
    }
}

QStringList HeldOutputs::owed() const {
    QStringList result;
    for (const Output& output : m_outputs)
        if (!output.held)
            result << QStringLiteral("%1 (%2)").arg(output.caption, output.add);
    return result;
}

bool HeldOutputs::warnOwed(Prompts& prompts) const {
    const QStringList outputs = owed();
    if (outputs.isEmpty())
        return false;
    prompts.message(QStringLiteral("VRAL"),
                    QStringLiteral("These machine outputs may still be on: the link to the target "
                                   "board failed before their release could be written.\r\n\r\n") +
                        outputs.join(QStringLiteral("\r\n")) +
                        QStringLiteral("\r\n\r\nCheck the machine, or start VRAL again, go online "
                                       "and press and release the button."),
                    Prompts::Icon::Exclamation, Prompts::Buttons::Ok);
    return true;
}
