#pragma once

#include <utility>

namespace velarix {

// The models' setter: stores `value` and emits each of `signals` on `owner`, in order. A value equal
// to the one held stores nothing and emits nothing, so a view that writes back what it read causes
// no loop. Returns whether the field changed.
template <class Owner, class T, class U, class... Signals>
bool setField(Owner* owner, T& field, U&& value, Signals... signals) {
    if (field == value)
        return false;
    field = std::forward<U>(value);
    (..., (owner->*signals)());
    return true;
}

} // namespace velarix
