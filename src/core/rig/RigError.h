#pragma once

#include <QString>

#include <stdexcept>

// A rig call that failed: the rig could not be opened, or it refused or did
// not answer a command. Callers catch it around each step and go on.
class RigError : public std::runtime_error
{
public:
    explicit RigError(const QString& message) : std::runtime_error(message.toStdString()) {}
};
