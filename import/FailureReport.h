#pragma once

#include "core/Result.h"

#include <QFuture>

class QObject;

namespace velarix {

class VelarixModel;

// Once the operation ends, shows its failure (never a cancel) as the model's error; nothing when
// `context` is gone by then (a continuation bound to a destroyed context is not allowed).
void reportFailure(const QFuture<Result<void>>& operation, QObject* context, VelarixModel& model);

} // namespace velarix
