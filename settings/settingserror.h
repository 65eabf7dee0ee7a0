#pragma once

#include <stdexcept>

// A settings value could not be written; what() is the message shown to the user.
class ESettingsError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};
