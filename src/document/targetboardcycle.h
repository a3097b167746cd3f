#pragma once

#include <QString>

#include <array>

class RSComm;

// What the target board page shows of the board, as its status cycle last
// read it: the raw values; the page turns them into captions and texts.
struct TargetBoardSnapshot {
    // The six fault display entries: current fault, last fault, CO-CPU slot,
    // last fault again for the corrective action, current and last comm
    // error; readFailed where the link had failed, before or in the read.
    struct Entry {
        int value = 0;
        bool readFailed = false;
    };
    std::array<Entry, 6> entries{};
    // The CO-CPU slot, read again after the entries.
    QString slot;
    // The ident block: the characters read so far, then checksum, revision.
    QString ident;
    QString checksum;
    QString revision;
    // The eight field locations (network addresses, clock) as last read.
    std::array<QString, 8> fields;
};

// What one step of the cycle brought: the part of the snapshot to show anew.
struct TargetBoardNews {
    enum class Part { Nothing, Entry, Slot, Ident, Checksum, Revision, Field };
    Part part = Part::Nothing;
    int index = 0; // Entry: the entry; Field: the field
    // The status reading of this online period has ended (the link may
    // have failed on the way).
    bool statusEnded = false;
};

// The target board page's status cycle, without the page: once per online
// period it reads the board's status one location per step (the six fault
// display entries, the CO-CPU slot again when the board has one, the ten
// ident bytes), then keeps reading the eight field locations round and round.
class TargetBoardCycle {
public:
    static constexpr int kSlotEntry = 2;

    // readsSlot: the board type has a CO-CPU slot to read again.
    // fieldAddresses: the eight field locations, in the page's order.
    TargetBoardCycle(RSComm& link, bool readsSlot, const std::array<QString, 8>& fieldAddresses);

    // An online period starts: the status reading starts over.
    void restart();
    TargetBoardNews step();

    const TargetBoardSnapshot& snapshot() const { return m_snapshot; }

private:
    TargetBoardNews statusStep();
    TargetBoardNews fieldStep();

    RSComm& m_link;
    bool m_readsSlot;
    std::array<QString, 8> m_fieldAddresses;
    TargetBoardSnapshot m_snapshot;
    bool m_statusShown = false;
    int m_statusStep = 0;
    int m_nextField = 0;
};
