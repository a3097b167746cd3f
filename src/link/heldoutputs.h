#pragma once

#include <QString>
#include <QStringList>

#include <vector>

class ByteExchange;
class MemoryAccess;
class Prompts;
struct LinkFlags;

// The machine outputs that momentary buttons hold: "1" while a mouse button
// is down on the button, "0" when the hold ends. Such a bit left at 1 keeps
// the machine resetting its trips or ending its shift, so from the press on
// a release is owed until a "0" has reached the board: the write went
// through with every echo matched and the link still sound afterwards.
//
// A hold ends when the button says so (the mouse released anywhere, its
// window blocked or deactivated, the page closed) or when the link fails,
// goes offline or closes. A release that cannot be written then waits here,
// for the whole run, until the link is sound again; the link writes it
// before anything else it is asked to read or write.
class HeldOutputs {
public:
    HeldOutputs(LinkFlags& flags, ByteExchange& exchange, MemoryAccess& memory);

    // Holds a location ("B1016.0") and writes "1"; nothing at all when the
    // link is not sound. The caption names the output to the user.
    void press(const QString& add, const QString& caption);
    // The hold of that location ended: its release is owed.
    void endHold(const QString& add);
    // Every hold ends: the link failed, goes offline or closes.
    void endAllHolds();
    // Writes the owed releases while the link is sound, in press order; a
    // release whose write fails stays owed, and so do the ones after it.
    void writeOwed();

    bool isEmpty() const { return m_outputs.empty(); }
    // The owed releases, each as the output's caption and its location:
    // "Reset Trips (B1016.0)".
    QStringList owed() const;
    // Before the program ends: tells the user which outputs may still be on
    // (title "VRAL", warning). False, and no box, when nothing is owed.
    bool warnOwed(Prompts& prompts) const;

private:
    struct Output {
        QString add;
        QString caption;
        bool held = true; // false: the hold ended, the release is owed
    };

    bool linkSound() const;
    // "0" to a location; true when it reached the board.
    bool writeRelease(const QString& add);

    LinkFlags& m_flags;
    ByteExchange& m_exchange;
    MemoryAccess& m_memory;
    std::vector<Output> m_outputs;
};
