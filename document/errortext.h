#pragma once

#include <string>

// A failure's message as the user sees it: a full stop is added when the
// message's last character sorts after "." ("Stream read error" becomes
// "Stream read error.").
inline std::string ErrorBoxText(std::string message)
{
    if (!message.empty() && static_cast<unsigned char>(message.back()) > static_cast<unsigned char>('.'))
        message += '.';
    return message;
}
