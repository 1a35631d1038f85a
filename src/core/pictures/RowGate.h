#pragma once

#include <condition_variable>
#include <mutex>

namespace pictra::pictures {

// The rows of a picture that another thread (a decoder) is still filling, so that
// work on the rows already there can run beside it on the other core.
class RowGate {
public:
    // Rows [0, rows) are complete.
    void publish(int rows) {
        {
            std::lock_guard lock(m_mutex);
            m_rows = rows;
        }
        m_ready.notify_all();
    }
    // Every row is there, or there will be no more (a failed decode): no one waits any longer.
    void finish() {
        {
            std::lock_guard lock(m_mutex);
            m_done = true;
        }
        m_ready.notify_all();
    }
    void waitFor(int rows) const {
        std::unique_lock lock(m_mutex);
        m_ready.wait(lock, [&] { return m_done || m_rows >= rows; });
    }

private:
    mutable std::mutex m_mutex;
    mutable std::condition_variable m_ready;
    int m_rows = 0;
    bool m_done = false;
};

}  // namespace pictra::pictures
