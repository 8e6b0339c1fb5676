#pragma once
// The support library's own exception types.  Their messages are narrow
// texts in UTF-8.

#include <exception>
#include <string>
#include <utility>

#include <boost/archive/archive_exception.hpp>

namespace va {

class exception : public std::exception {
public:
    explicit exception(std::string message = {}) : message_(std::move(message)) {}
    const char* what() const noexcept override { return message_.c_str(); }

private:
    std::string message_;
};

namespace details {

// Raised where a plain message is all there is to say.
class _simple_exception : public std::exception {
public:
    explicit _simple_exception(std::string message = {}) : message_(std::move(message)) {}
    const char* what() const noexcept override { return message_.c_str(); }

private:
    std::string message_;
};

}  // namespace details

class archive_exception : public boost::archive::archive_exception {
public:
    using boost::archive::archive_exception::archive_exception;
};

}  // namespace va
