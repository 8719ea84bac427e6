#pragma once

#include <QString>
#include <optional>

// The password of a command: from $STOKTRANSFER_PASSWORD, otherwise asked on the terminal
// without echo. Never from the command line, where the process list would show it.
// Nothing when neither is available.
std::optional<QString> SifreOku();
