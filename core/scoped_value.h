#pragma once
// Sets a variable for the life of a scope and puts the old value back however the
// scope ends, an error included.
#include <utility>

namespace core {

template <class T>
class ScopedValue {
public:
    ScopedValue(T& target, T value) : target_(target), saved_(std::move(target)) { target_ = std::move(value); }
    ~ScopedValue() { target_ = std::move(saved_); }
    ScopedValue(const ScopedValue&) = delete;
    ScopedValue& operator=(const ScopedValue&) = delete;

private:
    T& target_;
    T saved_;
};

}  // namespace core
