#pragma once

#include <QtGlobal>

#include <memory>
#include <vector>

namespace velarix {

// A few equal buffers aligned for direct I/O, allocated once and lent out in turn. Not locked: the
// owner guards it with its own mutex.
class AlignedBuffers {
public:
    AlignedBuffers(int count, qint64 size);

    // Whether any buffer could be allocated at all.
    bool allocated() const { return !m_memory.empty(); }
    bool hasFree() const { return !m_free.empty(); }
    // A free buffer; only while hasFree().
    char* take();
    void giveBack(char* data) { m_free.push_back(data); }

private:
    struct Free {
        void operator()(char* data) const;
    };
    std::vector<std::unique_ptr<char, Free>> m_memory;
    std::vector<char*> m_free;
};

} // namespace velarix
