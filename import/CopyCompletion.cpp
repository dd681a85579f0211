#include "import/CopyCompletion.h"

namespace velarix {

CopyCompletion::CopyCompletion(Done done)
    : m_done(std::move(done))
    , m_jobs(1, 1, [this](Job& job) {
        complete(job);
        return Result<void>();
    }) {}

CopyCompletion::~CopyCompletion() {
    finish();
}

void CopyCompletion::push(qsizetype index, Result<PendingCopyPtr> written, CopyControl control) {
    (void)m_jobs.push({index, std::move(written), std::move(control), std::nullopt});
}

void CopyCompletion::pushDone(qsizetype index, Result<QString> done) {
    (void)m_jobs.push({index, Error::cancellation(), {}, std::move(done)});
}

void CopyCompletion::finish() {
    (void)m_jobs.waitIdle();
    m_jobs.stop();
}

void CopyCompletion::complete(Job& job) const {
    if (job.done)
        m_done(job.index, *job.done);
    else if (job.written)
        m_done(job.index, completeCopy(std::move(*job.written), job.control));
    else
        m_done(job.index, Result<QString>(job.written.error()));
}

} // namespace velarix
