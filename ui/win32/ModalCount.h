// SPDX-License-Identifier: GPL-3.0-or-later
// How many dialogs or message boxes are open over the window, so that the list does not change
// under one of them.
#pragma once

namespace varnock::win32 {

class ModalCount {
public:
    bool any() const { return m_open > 0; }
    void open() { ++m_open; }
    void close() { --m_open; }

    // Counts one dialog for as long as it lives.
    class Scope {
    public:
        explicit Scope(ModalCount& count) : m_count(count) { m_count.open(); }
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;
        ~Scope() { m_count.close(); }

    private:
        ModalCount& m_count;
    };

private:
    int m_open = 0;
};

}  // namespace varnock::win32
