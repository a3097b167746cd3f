#pragma once

#include <functional>

// How deep the link is in its public operations, and what the link does
// before the outermost one starts.
struct TransactionDepth {
    int depth = 0;
    std::function<void()> beforeFirst;
};

// Marks a public link operation as running, including every box it shows:
// pollers whose timers fire inside such a box must not start a second one.
class TransactionGuard {
public:
    explicit TransactionGuard(TransactionDepth& state) : m_state(state) {
        if (m_state.depth++ == 0 && m_state.beforeFirst)
            m_state.beforeFirst();
    }
    ~TransactionGuard() { --m_state.depth; }
    TransactionGuard(const TransactionGuard&) = delete;
    TransactionGuard& operator=(const TransactionGuard&) = delete;

private:
    TransactionDepth& m_state;
};
