#include "storage/AlignedBuffers.h"

#include <cstdlib>

namespace velarix {

namespace {
constexpr size_t kAlignment = 4096; // the block size direct I/O needs on every file system we meet
}

void AlignedBuffers::Free::operator()(char* data) const {
    std::free(data);
}

AlignedBuffers::AlignedBuffers(int count, qint64 size) {
    for (int i = 0; i < count; ++i) {
        char* data = static_cast<char*>(std::aligned_alloc(kAlignment, size_t(size)));
        if (!data)
            break;
        m_memory.emplace_back(data);
        m_free.push_back(data);
    }
}

char* AlignedBuffers::take() {
    char* data = m_free.back();
    m_free.pop_back();
    return data;
}

} // namespace velarix
