#pragma once
// Runs fn and returns the error of type E it raised, or nothing when it returned normally. An error of
// another type goes on and fails the test by itself.
#include <optional>

template <typename E, typename Fn>
std::optional<E> Raised(Fn&& fn) {
    try {
        fn();
    } catch (const E& e) {
        return e;
    }
    return std::nullopt;
}
