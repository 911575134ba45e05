#pragma once

// Pieces the program's messages are made of; for the texts' own files.
#include "text/DisplayText.h"
#include "text/Messages.h"

#include <string>

namespace partwright::messages {

// A name in a message, quoted; names come from outside and are shown escaped.
inline std::string Quoted(const std::string& name)
{
    return "'" + DisplayText(name) + "'";
}

// "Permission denied (error 13)".
inline std::string Described(const ErrorDetails& error)
{
    return error.description + " (error " + std::to_string(error.number) + ")";
}

} // namespace partwright::messages
