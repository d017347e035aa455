// Reads the whole of a file the program is pointed at, safely: only a
// regular file, of at most maxBytes, opened so that a pipe or a device can
// neither block nor be read (the type is checked on the open descriptor).
#pragma once

#include "framedecoder.h"

#include <QByteArray>
#include <QString>

#include <atomic>
#include <optional>

namespace runtime::qt {

// Nothing for anything else (missing, a folder, a pipe, a device, too
// large, growing past maxBytes while read, unreadable) or when stop is
// set; then problem, when given, says which.
std::optional<QByteArray> readRegularFile(const QString &path, qint64 maxBytes,
                                          const std::atomic<bool> *stop = nullptr,
                                          FileProblem *problem = nullptr);

} // namespace runtime::qt
