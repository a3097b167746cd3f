#pragma once

#include "appstate.h"
#include "boardrig.h"
#include "onlinesession.h"
#include "pageservices.h"
#include "stepdriver.h"

#include <QApplication>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

// Everything a page is given, wired to the in-process simulated board on a
// manual clock, with scripted prompts. onlineChanges counts the times the
// online session told the main window to follow it.
struct PageRig : BoardRig {
    AppState state;
    OnlineSession online{link, port};
    int onlineChanges = 0;
    QStringList acknowledgements;
    PageServices services{state, link,   prompts,
                          clock, online, [this](const QString& text) { acknowledgements << text; }};

    PageRig() {
        state.InitDefaultDocument();
        QObject::connect(&online, &OnlineSession::changed, [this] { ++onlineChanges; });
    }

    // Opens the link and forgets the opening bytes.
    bool goOnline() {
        link.OpenRSComm(port);
        clearWire();
        return online.linkUp();
    }

    // Forgets the bytes so far; the link mode they left is where decoding starts.
    void clearWire() {
        port.clearWire();
        m_modeAtClear = link.linkMode();
    }

    // The memory transactions the program sent, decoded from the wire:
    // "read 1012" for each byte read, "write 2088 25" for each byte written.
    QStringList transactions() const {
        QStringList result;
        const QByteArray sent = port.sentBytes();
        int mode = m_modeAtClear;
        for (int i = 0; i < sent.size();) {
            const int byte = quint8(sent.at(i));
            if (byte == 0xFF && i + 1 < sent.size()) { // mode handshake: attention, command
                mode = quint8(sent.at(i + 1));
                i += 2;
            } else if (mode == 1 && i + 1 < sent.size()) {
                result << QStringLiteral("read %1").arg(byte * 256 + quint8(sent.at(i + 1)));
                i += 2;
            } else if (mode == 2 && i + 2 < sent.size()) {
                result << QStringLiteral("write %1 %2")
                              .arg(byte * 256 + quint8(sent.at(i + 1)))
                              .arg(quint8(sent.at(i + 2)));
                i += 3;
            } else {
                result << QStringLiteral("byte %1").arg(byte);
                ++i;
            }
        }
        return result;
    }

    // Only the byte addresses written, in order.
    QStringList writtenAddresses() const {
        QStringList result;
        for (const QString& t : transactions())
            if (t.startsWith(QLatin1String("write ")))
                result << t.section(QLatin1Char(' '), 1, 1);
        return result;
    }

private:
    int m_modeAtClear = 0;
};

// Shows a page as the active window, so the focus moves as it does for a
// user. The page's own refresh timer is stopped first: tests run the steps.
template <class Page> bool showActive(Page& page) {
    page.refreshCycle().stop();
    page.show();
    QApplication::setActiveWindow(&page);
    return QTest::qWaitForWindowActive(&page);
}
