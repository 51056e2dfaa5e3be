#ifndef KELVO_RESULT_H
#define KELVO_RESULT_H

#include <optional>
#include <string>
#include <utility>

// What a function returns in place of a value it could not make.
struct Failure {
    std::string message;
};

// A value, or the message of why there is none: for failures that data files cause in the normal
// course (a picture a model names that is missing or broken), which pass up the layers as a value
// instead of unwinding as an exception. The message is the text the layer's own exception is made
// with, so that the throwing form of each function throws exactly that exception.
template <typename T>
class [[nodiscard]] Result {
public:
    Result(T value) : value(std::move(value)) {}
    Result(Failure failure) : message(std::move(failure.message)) {}

    explicit operator bool() const { return value.has_value(); }
    T& operator*() { return *value; }
    const T& operator*() const { return *value; }
    T* operator->() { return &*value; }
    // Empty when there is a value.
    const std::string& failure() const { return message; }

    // The value, or Thrown(message) thrown.
    template <typename Thrown>
    T orThrow() &&
    {
        if (!value)
            throw Thrown(message);
        return std::move(*value);
    }

private:
    std::optional<T> value;
    std::string message;
};

#endif
