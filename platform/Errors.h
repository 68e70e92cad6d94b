#pragma once
// Exceptions raised by conversions, the settings file and the start-at-login store. Their messages
// are what the user sees in the error box, so every raise site builds the exact text.
#include <stdexcept>
#include <string>

class Exception : public std::runtime_error {
public:
    explicit Exception(const std::string& message) : std::runtime_error(message) {}
    std::string Message() const { return what(); }
};

// Malformed number or time text ("'%s' is not a valid integer value", "'%s' is not a valid time").
class EConvertError : public Exception {
public:
    using Exception::Exception;
};

// A file-system call failed; carries the system error code.
class EInOutError : public Exception {
public:
    EInOutError(const std::string& message, int errorCode) : Exception(message), ErrorCode(errorCode) {}
    int ErrorCode;
};

// The settings file could not be written ("Unable to write to %s").
class EIniFileException : public Exception {
public:
    using Exception::Exception;
};

// A start-at-login value could not be written or had the wrong type.
class ERegistryException : public Exception {
public:
    using Exception::Exception;
};
